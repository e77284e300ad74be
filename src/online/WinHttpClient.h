#pragma once
// HTTP GET through WinHTTP, the system's own client: a session per client, one request at a time,
// each operation given kRequestTimeoutMs and the whole request no longer either; bodies over
// kMaxAnswerBytes refused. Every request names Sorvane and its version as its User-Agent.
#include <windows.h>

#include "online/OnlineSearch.h"

constexpr DWORD kRequestTimeoutMs = 10000;

class WinHttpClient : public HttpClient {
public:
    WinHttpClient();
    ~WinHttpClient() override;
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;

    int get(const std::string& url, HttpAnswer& answer) override;

private:
    void* session = nullptr;  // HINTERNET
};

// "Sorvane/<version> (...)".
extern const wchar_t kUserAgent[];
