#include "online/WinHttpClient.h"

#include <winhttp.h>

#include <string>

#include "resources/Version.h"
#include "utils/WinText.h"

#define SORVANE_WIDEN2(text) L##text
#define SORVANE_WIDEN(text) SORVANE_WIDEN2(text)

const wchar_t kUserAgent[] = L"Sorvane/" SORVANE_WIDEN(SORVANE_VERSION_TEXT) L" (karaoke lyrics bar for Winamp)";

namespace {

// Closes a WinHTTP handle when it goes.
class Handle {
public:
    explicit Handle(HINTERNET handle) : handle(handle) {}
    ~Handle() {
        if (handle) WinHttpCloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HINTERNET get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }

private:
    HINTERNET handle;
};

int fail(HttpAnswer& answer, const char* why) {
    answer.status = 0;
    answer.body.clear();
    answer.failure = why;
    return 0;
}

int failWithError(HttpAnswer& answer, const char* step) {
    DWORD error = GetLastError();
    if (error == ERROR_WINHTTP_TIMEOUT) return fail(answer, "timed out");
    std::string why = std::string(step) + " failed (error " + std::to_string(error) + ")";
    return fail(answer, why.c_str());
}

}  // namespace

WinHttpClient::WinHttpClient() {
    HINTERNET opened = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                   WINHTTP_NO_PROXY_BYPASS, 0);
    if (opened) {
        int timeout = static_cast<int>(kRequestTimeoutMs);
        WinHttpSetTimeouts(opened, timeout, timeout, timeout, timeout);
    }
    session = opened;
}

WinHttpClient::~WinHttpClient() {
    if (session) WinHttpCloseHandle(static_cast<HINTERNET>(session));
}

int WinHttpClient::get(const std::string& url, HttpAnswer& answer) {
    if (!session) return failWithError(answer, "opening WinHTTP");
    DWORD started = GetTickCount();
    std::wstring wideUrl = widen(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (wideUrl.empty() || !WinHttpCrackUrl(wideUrl.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS))
        return fail(answer, "not an http or https address");
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";

    Handle connection(WinHttpConnect(static_cast<HINTERNET>(session), host.c_str(), parts.nPort, 0));
    if (!connection) return failWithError(answer, "connecting");
    DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
    Handle request(WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                      WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    if (!request) return failWithError(answer, "opening the request");
    if (!WinHttpSendRequest(request.get(), L"Accept: application/json\r\n", static_cast<DWORD>(-1),
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return failWithError(answer, "sending the request");
    if (!WinHttpReceiveResponse(request.get(), nullptr)) return failWithError(answer, "receiving the answer");

    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return failWithError(answer, "reading the status");
    DWORD declared = 0;
    size = sizeof declared;
    if (WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &declared, &size, WINHTTP_NO_HEADER_INDEX) &&
        declared > kMaxAnswerBytes)
        return fail(answer, "answer too large");

    std::string body;
    char buffer[16384];
    for (;;) {
        if (GetTickCount() - started > kRequestTimeoutMs) return fail(answer, "timed out");
        DWORD read = 0;
        if (!WinHttpReadData(request.get(), buffer, sizeof buffer, &read)) return failWithError(answer, "reading the answer");
        if (read == 0) break;
        if (body.size() + read > kMaxAnswerBytes) return fail(answer, "answer too large");
        body.append(buffer, read);
    }
    answer.status = static_cast<int>(status);
    answer.body = std::move(body);
    answer.failure.clear();
    return 1;
}
