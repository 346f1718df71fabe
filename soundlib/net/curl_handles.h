#pragma once
// Owning handles for libcurl objects. libcurl's global set-up runs once, before the
// first easy handle is made.
#include <curl/curl.h>

#include <memory>

namespace soundlib::net {

struct CurlEasyDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct CurlMultiDeleter {
    void operator()(CURLM* handle) const { curl_multi_cleanup(handle); }
};
struct CurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlMulti = std::unique_ptr<CURLM, CurlMultiDeleter>;
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;

// A new easy handle, or null when libcurl cannot make one.
CurlEasy makeCurlEasy();
CurlMulti makeCurlMulti();
// Appends `line` to `list`; keeps `list` unchanged when libcurl cannot.
void appendCurlList(CurlList& list, const char* line);

}  // namespace soundlib::net
