#include "download/DownloadTransfer.h"

#include "common/Text.h"
#include "download/WebAddress.h"

#include <algorithm>
#include <cstdio>
#include <curl/curl.h>
#include <filesystem>
#include <utility>

namespace ballotine {

namespace {

// One socket read; large enough that a fast link is not held back by per-read costs.
constexpr long kReceiveBufferSize = 256 * 1024;
// What one turn of the owner's event loop takes in at most: libcurl reads on while a socket
// stays readable, and a longer turn would hold up the window's timer.
constexpr std::int64_t kBytesPerTurn = 4 * 1024 * 1024;
// An address that does not answer within this time counts as not opening (the mirror is tried).
constexpr long kConnectTimeoutSeconds = 30;
// A connection that carries no byte for this long is treated as dropped, and resumed.
constexpr long kStallSeconds = 30;
// A list's size may lag behind its package (rebuilt at the same version, rounded by whoever
// wrote the list): a sixteenth more plus 64 KB lets such drift through, while a 10 KB package
// can bring no more than 74 KB and a 100 MB one no more than about 106 MB. The server's own
// Content-Length needs no margin: libcurl stores no byte beyond it.
constexpr std::int64_t kSizeMarginBytes = 64 * 1024;
constexpr std::int64_t kSizeMarginShare = 16;

void InitialiseCurlOnce() {
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    static_cast<void>(initialised);
}

} // namespace

struct DownloadTransfer::Curl {
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    char error[CURL_ERROR_SIZE] = {};

    ~Curl() {
        if (headers != nullptr) {
            curl_slist_free_all(headers);
        }
    }
};

DownloadTransfer::DownloadTransfer(const Clock& clock)
    : m_clock(clock), m_curl(std::make_unique<Curl>()) {}

DownloadTransfer::~DownloadTransfer() {
    m_watcher = nullptr;
    CloseInternet();
}

bool DownloadTransfer::OpenInternet() {
    if (m_curl->multi != nullptr) {
        return true;
    }
    InitialiseCurlOnce();
    m_curl->multi = curl_multi_init();
    if (m_curl->multi == nullptr) {
        Diagnose("Unable to establish Connection");
        return false;
    }
    curl_multi_setopt(m_curl->multi, CURLMOPT_SOCKETFUNCTION, &DownloadTransfer::OnSocket);
    curl_multi_setopt(m_curl->multi, CURLMOPT_SOCKETDATA, this);
    curl_multi_setopt(m_curl->multi, CURLMOPT_TIMERFUNCTION, &DownloadTransfer::OnTimer);
    curl_multi_setopt(m_curl->multi, CURLMOPT_TIMERDATA, this);
    if (m_curl->headers == nullptr) {
        // never an answer from a cache on the way
        m_curl->headers = curl_slist_append(nullptr, "Cache-Control: no-cache");
        m_curl->headers = curl_slist_append(m_curl->headers, "Pragma: no-cache");
    }
    return true;
}

bool DownloadTransfer::CloseInternet() {
    if (m_curl->multi == nullptr) {
        return true;
    }
    CloseFile();
    curl_multi_cleanup(m_curl->multi);
    m_curl->multi = nullptr;
    // libcurl may close its last sockets without reporting them
    for (const auto& [fd, socket] : m_sockets) {
        if (m_watcher != nullptr) {
            m_watcher->ForgetSocket(fd);
        }
    }
    m_sockets.clear();
    if (m_watcher != nullptr) {
        m_watcher->SetTimeout(-1);
    }
    return true;
}

bool DownloadTransfer::IsInternetOpen() const {
    return m_curl->multi != nullptr;
}

std::int64_t DownloadTransfer::SizeLimit(std::int64_t declared) {
    return declared > 0 ? declared + declared / kSizeMarginShare + kSizeMarginBytes : -1;
}

void DownloadTransfer::ResetCounters() {
    m_totalReceived = 0;
    m_filesStarted = 0;
    m_cleanedFolders.clear();
}

bool DownloadTransfer::StartFile(const DownloadItem& item, std::function<void()> refresh) {
    if (m_curl->multi == nullptr || IsActive()) {
        return false;
    }
    m_currentName = item.name;
    m_currentUrl = item.url;
    m_currentPath = item.localPath;
    m_mirrorUrl = item.mirrorUrl;
    m_origin = item.origin;
    m_failure.clear();
    m_fileSize = item.size;
    m_sizeLimit = SizeLimit(item.size);
    m_fileReceived = 0;
    m_mostReceived = 0;
    m_mostAtLastDrop = 0;
    m_resumes = 0;
    m_fruitlessDrops = 0;
    m_arrived = 0;
    m_triedMirror = false;
    m_startOverNext = false;
    m_abort = Abort::None;
    m_fileStartTick = m_clock.TickMs();
    m_lastNewByteTick = m_fileStartTick;
    m_refresh = std::move(refresh);
    if (m_refresh) {
        m_refresh();
    }
    m_phase = Phase::Opening;
    Diagnose(m_currentUrl);
    Diagnose(m_currentPath);
    if (!BeginRequest(m_currentUrl, 0)) {
        TryMirror(m_failure);
    }
    return true;
}

bool DownloadTransfer::BeginRequest(const std::string& url, std::int64_t from) {
    const bool local = m_origin == AddressOrigin::LocalList;
    if (!local && !IsWebAddress(url)) {
        m_failure = LocalAddressRefusal(url);
        return false;
    }
    CURL* easy = curl_easy_init();
    if (easy == nullptr) {
        m_failure = "cannot begin a download";
        return false;
    }
    m_curl->error[0] = '\0';
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_USERAGENT, "Ballotine");
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, m_curl->headers);
    // libcurl itself holds an item to its origin, however the address is spelt
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, local ? "http,https,file" : "http,https");
    // a server may send us elsewhere on the web, never into the local disk
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    // an error page is never stored as the file
    curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
    curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, m_curl->error);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &DownloadTransfer::OnData);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    if (from > 0) {
        const std::string range = Format("%lld-", static_cast<long long>(from));
        curl_easy_setopt(easy, CURLOPT_RANGE, range.c_str());
    }
    m_curl->easy = easy;
    m_abort = Abort::None;
    m_requestFrom = from;
    m_responseChecked = false;
    if (curl_multi_add_handle(m_curl->multi, easy) != CURLM_OK) {
        m_curl->easy = nullptr;
        curl_easy_cleanup(easy);
        m_failure = "cannot begin a download";
        return false;
    }
    return true;
}

void DownloadTransfer::EndRequest() {
    if (m_curl->easy == nullptr) {
        return;
    }
    curl_multi_remove_handle(m_curl->multi, m_curl->easy);
    curl_easy_cleanup(m_curl->easy);
    m_curl->easy = nullptr;
    m_paused = false;
}

ReadOutcome DownloadTransfer::ReadChunk() {
    switch (m_phase) {
    case Phase::Idle:
        return ReadOutcome::Waiting;
    case Phase::Done:
        return ReadOutcome::EndOfData;
    case Phase::Failed:
        return ReadOutcome::FileFailed;
    case Phase::Dropped:
        if (m_clock.TickMs() < m_retryAtTick) {
            return ReadOutcome::Waiting;
        }
        m_arrived = 0;
        Resume();
        return m_phase == Phase::Failed ? ReadOutcome::FileFailed : ReadOutcome::ReadFailed;
    case Phase::Opening:
    case Phase::Receiving:
        break;
    }
    const std::int64_t arrived = m_arrived;
    m_arrived = 0;
    return arrived > 0 ? ReadOutcome::Received : ReadOutcome::Waiting;
}

bool DownloadTransfer::CloseFile() {
    if (!IsActive()) {
        return false;
    }
    EndRequest();
    m_file.reset();
    m_refresh = nullptr;
    m_refreshDue = false;
    m_phase = Phase::Idle;
    return true;
}

void DownloadTransfer::Resume() {
    ++m_resumes;
    if (m_startOverNext && !StartOver()) {
        Fail("cannot write " + m_currentPath);
        return;
    }
    m_startOverNext = false;
    if (!BeginRequest(m_currentUrl, m_fileReceived)) {
        Fail(m_failure);
        return;
    }
    m_phase = Phase::Receiving;
}

// What was received of the file is dropped: it is fetched again from its first byte.
bool DownloadTransfer::StartOver() {
    m_totalReceived -= m_fileReceived;
    m_fileReceived = 0;
    return m_file && m_file->Restart();
}

std::size_t DownloadTransfer::OnData(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<DownloadTransfer*>(self)->TakeData(data, size * count);
}

std::size_t DownloadTransfer::TakeData(const char* data, std::size_t size) {
    if (m_takenThisTurn >= kBytesPerTurn) {
        m_paused = true; // libcurl keeps the data; AfterAction resumes
        return CURL_WRITEFUNC_PAUSE;
    }
    if (m_phase == Phase::Opening && !OpenLocalFile()) {
        return 0;
    }
    if (!m_responseChecked && !CheckResponse()) {
        return 0;
    }
    const auto bytes = static_cast<std::int64_t>(size);
    if (m_sizeLimit >= 0 && m_fileReceived + bytes > m_sizeLimit) {
        m_abort = Abort::TooLarge;
        return 0;
    }
    if (!m_file || !m_file->Write(std::string_view(data, size))) {
        m_abort = Abort::CannotWrite;
        return 0;
    }
    m_fileReceived += bytes;
    m_totalReceived += bytes;
    m_arrived += bytes;
    m_takenThisTurn += bytes;
    if (m_fileReceived > m_mostReceived) {
        m_mostReceived = m_fileReceived;
        m_lastNewByteTick = m_clock.TickMs();
    }
    return size;
}

// The address has answered with the file: create the local file and count the start.
bool DownloadTransfer::OpenLocalFile() {
    if (ResponseCode() >= 400) {
        m_abort = Abort::ErrorStatus;
        return false;
    }
    RemoveAbandonedTemporaries();
    m_file.emplace(m_currentPath);
    if (!m_file->IsOpen()) {
        m_file.reset();
        m_abort = Abort::CannotCreate;
        return false;
    }
    m_phase = Phase::Receiving;
    m_fileStartTick = m_clock.TickMs();
    ++m_filesStarted;
    m_refreshDue = true;
    return true;
}

// An HTTP answer must hold the part asked for: a part that begins elsewhere is refused (the
// file starts over), and the whole file sent to a request for the rest replaces what was
// received.
bool DownloadTransfer::CheckResponse() {
    m_responseChecked = true;
    char* scheme = nullptr;
    curl_easy_getinfo(m_curl->easy, CURLINFO_SCHEME, &scheme);
    const bool isHttp =
        scheme != nullptr && (EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https"));
    if (!isHttp) {
        return true;
    }
    if (ResponseCode() == 206) {
        if (AnsweredFrom() == m_requestFrom) {
            return true;
        }
        m_abort = Abort::WrongPart;
        return false;
    }
    if (m_requestFrom > 0 && !StartOver()) {
        m_abort = Abort::CannotWrite;
        return false;
    }
    return true;
}

// The first byte of a partial answer by its Content-Range ("bytes FIRST-LAST/SIZE"); -1 when
// it names none.
std::int64_t DownloadTransfer::AnsweredFrom() const {
    curl_header* header = nullptr;
    if (curl_easy_header(m_curl->easy, "Content-Range", 0, CURLH_HEADER, -1, &header) !=
        CURLHE_OK) {
        return -1;
    }
    long long first = -1;
    long long last = -1;
    if (std::sscanf(header->value, " bytes %lld-%lld", &first, &last) != 2 || first < 0 ||
        last < first) {
        return -1;
    }
    return first;
}

int DownloadTransfer::OnSocket(void* /*easy*/, int fd, int what, void* self, void* /*data*/) {
    auto* transfer = static_cast<DownloadTransfer*>(self);
    if (what == CURL_POLL_REMOVE) {
        transfer->m_sockets.erase(fd);
        if (transfer->m_watcher != nullptr) {
            transfer->m_watcher->ForgetSocket(fd);
        }
        return 0;
    }
    const bool read = (what & CURL_POLL_IN) != 0;
    const bool write = (what & CURL_POLL_OUT) != 0;
    transfer->m_sockets[fd] = WatchedSocket{fd, read, write};
    if (transfer->m_watcher != nullptr) {
        transfer->m_watcher->WatchSocket(fd, read, write);
    }
    return 0;
}

int DownloadTransfer::OnTimer(void* /*multi*/, long ms, void* self) {
    auto* transfer = static_cast<DownloadTransfer*>(self);
    if (transfer->m_watcher != nullptr) {
        transfer->m_watcher->SetTimeout(ms);
    }
    return 0;
}

void DownloadTransfer::SocketReady(int fd, bool readable, bool writable) {
    if (m_curl->multi == nullptr) {
        return;
    }
    const int mask = (readable ? CURL_CSELECT_IN : 0) | (writable ? CURL_CSELECT_OUT : 0);
    int running = 0;
    m_takenThisTurn = 0;
    curl_multi_socket_action(m_curl->multi, fd, mask, &running);
    AfterAction();
}

void DownloadTransfer::TimeoutExpired() {
    if (m_curl->multi == nullptr) {
        return;
    }
    int running = 0;
    m_takenThisTurn = 0;
    curl_multi_socket_action(m_curl->multi, CURL_SOCKET_TIMEOUT, 0, &running);
    AfterAction();
}

std::vector<DownloadTransfer::WatchedSocket> DownloadTransfer::Sockets() const {
    std::vector<WatchedSocket> sockets;
    sockets.reserve(m_sockets.size());
    for (const auto& [fd, socket] : m_sockets) {
        sockets.push_back(socket);
    }
    return sockets;
}

long DownloadTransfer::TimeoutMs() const {
    long ms = -1;
    if (m_curl->multi != nullptr) {
        curl_multi_timeout(m_curl->multi, &ms);
    }
    return ms;
}

void DownloadTransfer::AfterAction() {
    if (m_paused && m_curl->easy != nullptr) {
        // hands over the held data now and asks for a timeout of 0, so the owner's loop
        // runs before the next turn reads on
        m_paused = false;
        m_takenThisTurn = 0;
        const CURLcode resumed = curl_easy_pause(m_curl->easy, CURLPAUSE_CONT);
        if (resumed != CURLE_OK) {
            Finished(resumed); // libcurl reports a failed hand-over only here
        }
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(m_curl->multi, &queued)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == m_curl->easy) {
            Finished(message->data.result);
        }
    }
    if (m_refreshDue) {
        m_refreshDue = false;
        if (m_refresh) {
            m_refresh();
        }
    }
}

void DownloadTransfer::Finished(int result) {
    const auto code = static_cast<CURLcode>(result);
    const std::string error = m_curl->error[0] != '\0' ? m_curl->error : curl_easy_strerror(code);
    const bool refusedRange = m_requestFrom > 0 && ResponseCode() == 416;
    if (code == CURLE_OK && m_phase == Phase::Opening) {
        OpenLocalFile(); // an empty file: the address answered without data
    }
    if (code == CURLE_OK && m_abort == Abort::None && !m_responseChecked) {
        CheckResponse();
    }
    EndRequest();
    if (code != CURLE_OK) {
        Diagnose(Format("Error Code %i\n%s", result, error.c_str()));
    }
    switch (m_abort) {
    case Abort::CannotCreate:
        Fail("cannot create " + m_currentPath);
        return;
    case Abort::CannotWrite:
        Fail("cannot write " + m_currentPath);
        return;
    case Abort::TooLarge:
        Fail(Format("refused: the server sent more than the %lld bytes its list gives",
                    static_cast<long long>(m_fileSize)));
        return;
    case Abort::WrongPart:
        RetryLater(true, "the server answered with another part of the file than asked for");
        return;
    case Abort::None:
    case Abort::ErrorStatus:
        break;
    }
    if (m_phase == Phase::Opening) {
        TryMirror(error);
    } else if (code != CURLE_OK) {
        RetryLater(refusedRange, error);
    } else if (!m_file || !m_file->Commit()) {
        Fail("cannot write " + m_currentPath);
    } else {
        m_file.reset();
        m_phase = Phase::Done;
    }
}

// After a drop: the rest is asked for again after a pause that grows while drops bring nothing
// new, unless the limits are reached.
void DownloadTransfer::RetryLater(bool startOver, const std::string& error) {
    const std::uint64_t now = m_clock.TickMs();
    m_fruitlessDrops = m_mostReceived > m_mostAtLastDrop ? 0 : m_fruitlessDrops + 1;
    m_mostAtLastDrop = m_mostReceived;
    if (m_resumes >= kMaxResumes) {
        Fail(Format("gave up after the connection broke off %d times (%s)", m_resumes + 1,
                    error.c_str()));
        return;
    }
    if (now - m_lastNewByteTick >= kNoProgressLimitMs) {
        Fail(Format("gave up: no new data for %llu seconds (%s)",
                    static_cast<unsigned long long>((now - m_lastNewByteTick) / 1000),
                    error.c_str()));
        return;
    }
    const int doublings = std::min(m_fruitlessDrops, 16);
    m_retryAtTick = now + std::min(kFirstRetryDelayMs << doublings, kLongestRetryDelayMs);
    m_startOverNext = startOver;
    m_phase = Phase::Dropped;
}

void DownloadTransfer::TryMirror(const std::string& error) {
    if (m_triedMirror || !m_mirrorUrl) {
        Fail(error);
        return;
    }
    m_triedMirror = true;
    m_currentUrl = *m_mirrorUrl;
    Diagnose(m_currentUrl);
    Diagnose(m_currentPath);
    if (!BeginRequest(m_currentUrl, 0)) {
        Fail(m_failure);
    }
}

void DownloadTransfer::Fail(const std::string& reason) {
    m_file.reset();
    m_failure = reason;
    m_phase = Phase::Failed;
    Diagnose(reason);
}

// The temporaries of runs that were killed before they could finish a file; once per folder
// and run, before this run writes there.
void DownloadTransfer::RemoveAbandonedTemporaries() {
    const std::string folder = std::filesystem::path(m_currentPath).parent_path().string();
    if (m_cleanedFolders.insert(folder).second) {
        RemoveAbandonedTemporaryFiles(folder.empty() ? "." : folder);
    }
}

long DownloadTransfer::ResponseCode() const {
    long code = 0;
    if (m_curl->easy != nullptr) {
        curl_easy_getinfo(m_curl->easy, CURLINFO_RESPONSE_CODE, &code);
    }
    return code;
}

void DownloadTransfer::Diagnose(const std::string& text) const {
    if (m_diagnostics) {
        m_diagnostics(text);
    }
}

} // namespace ballotine
