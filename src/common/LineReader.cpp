#include "common/LineReader.h"

#include <streambuf>

namespace ballotine {

bool ReadLine(std::istream& in, std::string& line) {
    if (in.eof() || in.bad()) {
        return false;
    }
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr) {
        in.setstate(std::ios::badbit);
        return false;
    }
    using Traits = std::streambuf::traits_type;
    line.clear();
    for (;;) {
        const Traits::int_type next = buffer->sbumpc();
        if (Traits::eq_int_type(next, Traits::eof())) {
            in.setstate(std::ios::eofbit);
            break;
        }
        const char c = Traits::to_char_type(next);
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            break;
        }
        if (c == '\0') {
            break;
        }
        line.push_back(c);
    }
    return true;
}

} // namespace ballotine
