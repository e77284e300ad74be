#pragma once
// HTTP GET through WinHTTP, the system's own client, driven asynchronously so that nothing a
// server does (answering nothing, trickling its headers or its body) holds a lookup past its
// deadline: every lookup has kLookupTimeoutMs from its first request to its last byte, across name
// resolution, connection, sending, headers and body of all its requests. At the deadline the
// client closes the request (the watchdog: WinHTTP then gives it up) and answers "timed out" at
// once, whatever WinHTTP still does about it.
//
// One request at a time; no redirect followed (OnlineSearch.h follows those it may); bodies over
// kMaxAnswerBytes refused. Every request names Sorvane, its version and its homepage as its
// User-Agent, as LRCLIB asks of its clients.
//
// WinHTTP may call back about a closed request until it says the handle is closing; under Wine
// that can be whenever the server next does something. A client that goes while a request is
// still owed that word keeps the library loaded for good, so that no call back ever finds it gone.
#include <windows.h>

#include <vector>

#include "online/OnlineSearch.h"

constexpr DWORD kLookupTimeoutMs = 10000;

class WinHttpClient : public HttpClient {
public:
    WinHttpClient();
    ~WinHttpClient() override;
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;

    void beginLookup() override;
    int get(const std::string& url, HttpAnswer& answer) override;

    struct Exchange;

private:
    int runRequest(void* request, Exchange& exchange, HttpAnswer& answer);
    int awaitStep(Exchange& exchange, HttpAnswer& answer, const char* step);
    void letGoOfClosed();

    void* session = nullptr;           // HINTERNET
    DWORD deadline = 0;                // GetTickCount() when the lookup's time is up
    std::vector<Exchange*> exchanges;  // requests WinHTTP has not said it is done with
};

// "Sorvane/<version> (<homepage>)".
extern const wchar_t kUserAgent[];
