#include "pkzip25/WorkRecord.h"

#include "common/Text.h"

#include <charconv>
#include <random>

namespace ballotine::pkzip25 {

namespace {

constexpr std::string_view kFirstLine = "pkzip25 work record 1\n";
constexpr std::string_view kRecordSuffix = ".journal";
constexpr std::size_t kIdLength = 16;

// Names may hold any byte but '/' and NUL, line feeds included: each is written with its
// length in front.
void AppendString(std::string& out, std::string_view text) {
    out += std::to_string(text.size());
    out += ':';
    out += text;
}

// Reads the record's lines one field at a time; any field that is not whole makes the line,
// and so the rest of the record, unreadable.
class RecordReader {
public:
    explicit RecordReader(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_at >= m_text.size(); }

    bool Word(std::string_view& word) {
        const std::size_t end = m_text.find_first_of(" \n", m_at);
        if (end == std::string_view::npos) {
            return false;
        }
        word = m_text.substr(m_at, end - m_at);
        m_at = end;
        return true;
    }
    bool String(std::string& text) {
        std::size_t length = 0;
        const char* first = m_text.data() + m_at;
        const char* last = m_text.data() + m_text.size();
        const auto [colon, error] = std::from_chars(first, last, length);
        if (error != std::errc{} || colon == last || *colon != ':') {
            return false;
        }
        const std::size_t start = static_cast<std::size_t>(colon - m_text.data()) + 1;
        if (length > m_text.size() - start) {
            return false;
        }
        text.assign(m_text.substr(start, length));
        m_at = start + length;
        return true;
    }
    bool Skip(char c) {
        if (AtEnd() || m_text[m_at] != c) {
            return false;
        }
        ++m_at;
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
};

// A path below the target as the tool writes them: components that are neither empty nor
// "." nor "..", so a record cannot lead an undo anywhere else.
bool IsPlainRelative(std::string_view path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        end = end == std::string_view::npos ? path.size() : end;
        const std::string_view component = path.substr(start, end - start);
        if (component.empty() || component == "." || component == "..") {
            return path.empty();
        }
        start = end + 1;
    }
    return true;
}

bool IsPlainName(std::string_view name) {
    return !name.empty() && name.find('/') == std::string_view::npos && IsPlainRelative(name);
}

// One line of the record into `record`; false when it is cut short or unknown.
bool ReadLine(RecordReader& reader, WorkRecord& record) {
    std::string_view word;
    if (!reader.Word(word)) {
        return false;
    }
    if (word == "renaming" || word == "done") {
        if (!reader.Skip('\n')) {
            return false;
        }
        record.stage = word == "done" ? WorkRecord::Stage::Done : WorkRecord::Stage::Renaming;
        return true;
    }
    if (word == "file") {
        WorkRecord::File file;
        std::string_view replaces;
        if (!reader.Skip(' ') || !reader.Word(replaces) || !reader.Skip(' ') ||
            !reader.String(file.folder) || !reader.Skip(' ') || !reader.String(file.name) ||
            !reader.Skip('\n') || (replaces != "0" && replaces != "1")) {
            return false;
        }
        file.replaces = replaces == "1";
        if (!IsPlainRelative(file.folder) || !IsPlainName(file.name)) {
            return false;
        }
        record.files.push_back(std::move(file));
        return true;
    }
    std::vector<std::string>* list = word == "made"     ? &record.madeAbove
                                     : word == "folder" ? &record.newFolders
                                                        : nullptr;
    std::string path;
    if (list == nullptr || !reader.Skip(' ') || !reader.String(path) || !reader.Skip('\n') ||
        (list == &record.newFolders ? path.empty() || !IsPlainRelative(path)
                                    : !path.starts_with('/'))) {
        return false;
    }
    list->push_back(std::move(path));
    return true;
}

} // namespace

std::string NewName(std::string_view id, std::size_t index) {
    return Format("%.*s%.*s-%zu.new", static_cast<int>(kWorkNamePrefix.size()),
                  kWorkNamePrefix.data(), static_cast<int>(id.size()), id.data(), index);
}

std::string KeptName(std::string_view id, std::size_t index) {
    return Format("%.*s%.*s-%zu.old", static_cast<int>(kWorkNamePrefix.size()),
                  kWorkNamePrefix.data(), static_cast<int>(id.size()), id.data(), index);
}

std::string RecordName(std::string_view id) {
    return std::string(kWorkNamePrefix) + std::string(id) + std::string(kRecordSuffix);
}

std::optional<std::string> RecordId(std::string_view name) {
    if (name.size() != kWorkNamePrefix.size() + kIdLength + kRecordSuffix.size() ||
        !name.starts_with(kWorkNamePrefix) || !name.ends_with(kRecordSuffix)) {
        return std::nullopt;
    }
    const std::string_view id = name.substr(kWorkNamePrefix.size(), kIdLength);
    if (id.find_first_not_of("0123456789abcdef") != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(id);
}

std::string NewRunId() {
    std::random_device device;
    const std::uint64_t bits = (std::uint64_t{device()} << 32) ^ device();
    return Format("%016llx", static_cast<unsigned long long>(bits));
}

std::string EncodePlan(const WorkRecord& record) {
    std::string out(kFirstLine);
    for (const std::string& made : record.madeAbove) {
        out += "made ";
        AppendString(out, made);
        out += '\n';
    }
    for (const std::string& folder : record.newFolders) {
        out += "folder ";
        AppendString(out, folder);
        out += '\n';
    }
    for (const WorkRecord::File& file : record.files) {
        out += file.replaces ? "file 1 " : "file 0 ";
        AppendString(out, file.folder);
        out += ' ';
        AppendString(out, file.name);
        out += '\n';
    }
    return out;
}

std::string EncodeStage(WorkRecord::Stage stage) {
    switch (stage) {
    case WorkRecord::Stage::Writing:
        break;
    case WorkRecord::Stage::Renaming:
        return "renaming\n";
    case WorkRecord::Stage::Done:
        return "done\n";
    }
    return {};
}

std::optional<WorkRecord> DecodeRecord(std::string_view text, std::string_view id) {
    if (!text.starts_with(kFirstLine)) {
        // Cut short before its first line was whole: the run had changed nothing but maybe
        // made the target, which the caller knows nothing of; an empty record undoes nothing.
        if (kFirstLine.starts_with(text)) {
            return WorkRecord{std::string(id), {}, {}, {}, WorkRecord::Stage::Writing};
        }
        return std::nullopt;
    }
    WorkRecord record;
    record.id = id;
    RecordReader reader(text.substr(kFirstLine.size()));
    while (!reader.AtEnd() && ReadLine(reader, record)) {
    }
    return record;
}

} // namespace ballotine::pkzip25
