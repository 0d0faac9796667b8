#pragma once
// libcurl's global start and end, once per run: before the first upload, after the last.

#include <curl/curl.h>

namespace velmaro {

class CurlStart {
public:
    CurlStart() : m_ok(curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK) {}
    ~CurlStart() {
        if (m_ok)
            curl_global_cleanup();
    }
    CurlStart(const CurlStart&) = delete;
    CurlStart& operator=(const CurlStart&) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_ok;
};

} // namespace velmaro
