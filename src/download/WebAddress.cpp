#include "download/WebAddress.h"

#include "common/Text.h"

#include <curl/curl.h>
#include <memory>

namespace ballotine {

namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::string SchemeOf(std::string_view url) {
    const std::unique_ptr<CURLU, UrlDeleter> parsed(curl_url());
    const std::string text(url);
    if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, text.c_str(),
                                CURLU_GUESS_SCHEME | CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
        return {};
    }
    char* scheme = nullptr;
    if (curl_url_get(parsed.get(), CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK) {
        return {};
    }
    std::string result(scheme);
    curl_free(scheme);
    return result;
}

} // namespace

bool IsWebAddress(std::string_view url) {
    const std::string scheme = SchemeOf(url);
    return EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https");
}

AddressOrigin OriginOfList(std::string_view listUrl) {
    return IsWebAddress(listUrl) ? AddressOrigin::RemoteList : AddressOrigin::LocalList;
}

std::string LocalAddressRefusal(std::string_view url) {
    return "refused '" + std::string(url) +
           "': a list fetched over the network may name only http:// and https:// addresses";
}

} // namespace ballotine
