#include "online/WinHttpClient.h"

#include <winhttp.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "resources/Version.h"
#include "utils/WinText.h"

#define SORVANE_WIDEN2(text) L##text
#define SORVANE_WIDEN(text) SORVANE_WIDEN2(text)

const wchar_t kUserAgent[] = L"Sorvane/" SORVANE_WIDEN(SORVANE_VERSION_TEXT) L" (" SORVANE_WIDEN(SORVANE_HOMEPAGE) L")";

// What a request's steps came to, told by WinHTTP's callbacks: the request waits on its signal for
// each step. Held by the client and by WinHTTP, each letting go in turn (WinHTTP when it says the
// handle is closing), so that a callback for a request given up still finds it.
struct WinHttpClient::Exchange {
    HANDLE signal = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // a step ended, or the handle closes
    std::atomic<bool> closing{false};
    std::atomic<int> holders{2};
    DWORD error = 0;     // the last step's error; 0: it succeeded
    DWORD bytes = 0;     // what the last step found waiting, or read
    char buffer[16384];  // what reads go into: WinHTTP may still fill it after a time-out

    ~Exchange() {
        if (signal) CloseHandle(signal);
    }
    void letGo() {
        if (--holders == 0) delete this;
    }
};

namespace {

// Requests given up a moment ago are usually let go by then.
constexpr DWORD kClosingWaitMs = 200;

using Exchange = WinHttpClient::Exchange;

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
    answer.location.clear();
    answer.failure = why;
    return 0;
}

int failWith(HttpAnswer& answer, const char* step, DWORD error) {
    if (error == ERROR_WINHTTP_TIMEOUT) return fail(answer, "timed out");
    std::string why = std::string(step) + " failed (error " + std::to_string(error) + ")";
    return fail(answer, why.c_str());
}

int failWithError(HttpAnswer& answer, const char* step) { return failWith(answer, step, GetLastError()); }

// Callbacks under way in WinHTTP's threads: a client that goes lets the library go only once none
// is, so that none returns into a library unloaded meanwhile.
std::atomic<int> callbacksUnderWay{0};

void tell(Exchange* exchange, DWORD status, void* information, DWORD length) {
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE: exchange->error = 0; break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        exchange->error = 0;
        exchange->bytes = *static_cast<DWORD*>(information);
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        exchange->error = 0;
        exchange->bytes = length;
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        exchange->error = static_cast<WINHTTP_ASYNC_RESULT*>(information)->dwError;
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        // WinHTTP's last word about the request: it lets go of the exchange.
        exchange->closing = true;
        SetEvent(exchange->signal);
        exchange->letGo();
        return;
    default: return;
    }
    SetEvent(exchange->signal);
}

void CALLBACK onStatus(HINTERNET, DWORD_PTR context, DWORD status, void* information, DWORD length) {
    ++callbacksUnderWay;
    if (auto* exchange = reinterpret_cast<Exchange*>(context)) tell(exchange, status, information, length);
    --callbacksUnderWay;
}

// The request's callbacks go to the exchange. 0 when WinHTTP takes neither: no callback comes.
int watch(HINTERNET request, Exchange* exchange) {
    auto context = reinterpret_cast<DWORD_PTR>(exchange);
    if (!WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context)) return 0;
    const DWORD notifications = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES;
    return WinHttpSetStatusCallback(request, onStatus, notifications, 0) != WINHTTP_INVALID_STATUS_CALLBACK;
}

void refuseRedirects(HINTERNET handle) {
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(handle, WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
}

// The Location header of the answer, UTF-8; empty without one.
std::string locationOf(HINTERNET request) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0 || size > 65536) return {};
    std::wstring location(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, location.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return {};
    location.resize(size / sizeof(wchar_t));
    return narrow(location.c_str());
}

void keepLibraryLoaded() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&onStatus), &module);
}

}  // namespace

WinHttpClient::WinHttpClient() {
    HINTERNET opened = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                   WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (opened) {
        // Where the system keeps them, its own time-outs end a step early too.
        int timeout = static_cast<int>(kLookupTimeoutMs);
        WinHttpSetTimeouts(opened, timeout, timeout, timeout, timeout);
        refuseRedirects(opened);
    }
    session = opened;
    beginLookup();
}

WinHttpClient::~WinHttpClient() {
    if (session) WinHttpCloseHandle(static_cast<HINTERNET>(session));
    DWORD start = GetTickCount();
    bool allClosed = true;
    for (Exchange* exchange : exchanges) {
        while (!exchange->closing) {
            DWORD waited = GetTickCount() - start;
            if (waited >= kClosingWaitMs ||
                WaitForSingleObject(exchange->signal, kClosingWaitMs - waited) != WAIT_OBJECT_0)
                break;
        }
        if (exchange->closing) {
            exchange->letGo();
        } else {
            allClosed = false;  // the exchange stays WinHTTP's
        }
    }
    // The last word about a request may still be on its way out of the callback.
    while (allClosed && callbacksUnderWay > 0 && GetTickCount() - start < kClosingWaitMs) Sleep(1);
    if (!allClosed || callbacksUnderWay > 0) keepLibraryLoaded();
}

void WinHttpClient::beginLookup() { deadline = GetTickCount() + kLookupTimeoutMs; }

void WinHttpClient::letGoOfClosed() {
    auto closed = std::stable_partition(exchanges.begin(), exchanges.end(),
                                        [](Exchange* exchange) { return !exchange->closing; });
    for (auto it = closed; it != exchanges.end(); ++it) (*it)->letGo();
    exchanges.erase(closed, exchanges.end());
}

int WinHttpClient::get(const std::string& url, HttpAnswer& answer) {
    letGoOfClosed();
    if (!session) return failWithError(answer, "opening WinHTTP");
    if (static_cast<LONG>(deadline - GetTickCount()) <= 0) return fail(answer, "timed out");
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
    HINTERNET request = WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
    if (!request) return failWithError(answer, "opening the request");
    refuseRedirects(request);
    auto* watched = new Exchange;
    if (!watched->signal || !watch(request, watched)) {
        WinHttpCloseHandle(request);
        delete watched;
        return fail(answer, "watching the request failed");
    }
    exchanges.push_back(watched);
    int answered = runRequest(request, *watched, answer);
    // Done, failed or timed out: closing the request ends whatever WinHTTP still does for it.
    WinHttpCloseHandle(request);
    return answered;
}

int WinHttpClient::awaitStep(Exchange& exchange, HttpAnswer& answer, const char* step) {
    auto left = static_cast<LONG>(deadline - GetTickCount());
    if (left <= 0 || WaitForSingleObject(exchange.signal, static_cast<DWORD>(left)) != WAIT_OBJECT_0)
        return fail(answer, "timed out");
    return exchange.error ? failWith(answer, step, exchange.error) : 1;
}

int WinHttpClient::runRequest(void* handle, Exchange& exchange, HttpAnswer& answer) {
    auto request = static_cast<HINTERNET>(handle);
    auto context = reinterpret_cast<DWORD_PTR>(&exchange);
    if (!WinHttpSendRequest(request, L"Accept: application/json\r\n", static_cast<DWORD>(-1), WINHTTP_NO_REQUEST_DATA,
                            0, 0, context))
        return failWithError(answer, "sending the request");
    if (!awaitStep(exchange, answer, "sending the request")) return 0;
    if (!WinHttpReceiveResponse(request, nullptr)) return failWithError(answer, "receiving the answer");
    if (!awaitStep(exchange, answer, "receiving the answer")) return 0;

    DWORD status = 0, size = sizeof status;
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return failWithError(answer, "reading the status");
    DWORD declared = 0;
    size = sizeof declared;
    if (WinHttpQueryHeaders(request, WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &declared, &size, WINHTTP_NO_HEADER_INDEX) &&
        declared > kMaxAnswerBytes)
        return fail(answer, "answer too large");
    std::string location = status >= 300 && status < 400 ? locationOf(request) : std::string();

    // Asked what has come before each read, and only that much read: a read of more waits for it
    // to come, and Wine waits in the reading thread itself, past any deadline.
    std::string body;
    for (;;) {
        if (!WinHttpQueryDataAvailable(request, nullptr)) return failWithError(answer, "reading the answer");
        if (!awaitStep(exchange, answer, "reading the answer")) return 0;
        if (exchange.bytes == 0) break;
        DWORD wanted = std::min<DWORD>(exchange.bytes, sizeof exchange.buffer);
        if (!WinHttpReadData(request, exchange.buffer, wanted, nullptr))
            return failWithError(answer, "reading the answer");
        if (!awaitStep(exchange, answer, "reading the answer")) return 0;
        DWORD read = exchange.bytes;
        if (read == 0) break;
        if (body.size() + read > kMaxAnswerBytes) return fail(answer, "answer too large");
        body.append(exchange.buffer, read);
    }
    answer.status = static_cast<int>(status);
    answer.body = std::move(body);
    answer.location = std::move(location);
    answer.failure.clear();
    return 1;
}
