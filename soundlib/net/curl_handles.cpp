#include "soundlib/net/curl_handles.h"

#include <mutex>

namespace soundlib::net {
namespace {

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

CurlEasy makeCurlEasy() {
    initCurlOnce();
    return CurlEasy(curl_easy_init());
}

CurlMulti makeCurlMulti() {
    initCurlOnce();
    return CurlMulti(curl_multi_init());
}

void appendCurlList(CurlList& list, const char* line) {
    curl_slist* grown = curl_slist_append(list.get(), line);
    if (grown == nullptr) return;
    (void)list.release();
    list.reset(grown);
}

}  // namespace soundlib::net
