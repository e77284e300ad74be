#include "online/OnlineQuery.h"

namespace {

// An absolute address taken apart: "<scheme>://<authority><rest>", rest starting at "/", "?", "#"
// or empty.
struct AddressParts {
    std::string_view scheme, authority, rest;
};

char lowered(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowercase(std::string_view text) {
    std::string result;
    for (char c : text) result += lowered(c);
    return result;
}

bool holdsBlanksOrControls(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return true;
    return false;
}

// The length of the scheme address starts with ("http" of "http:..."), 0 without one.
size_t schemeLength(std::string_view address) {
    size_t colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0) return 0;
    for (size_t i = 0; i < colon; ++i) {
        char c = lowered(address[i]);
        bool letter = c >= 'a' && c <= 'z';
        if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))) return 0;
    }
    return colon;
}

int splitAddress(std::string_view address, AddressParts& parts) {
    size_t colon = schemeLength(address);
    if (colon == 0 || address.substr(colon, 3) != "://") return 0;
    parts.scheme = address.substr(0, colon);
    std::string_view after = address.substr(colon + 3);
    size_t end = after.find_first_of("/?#");
    parts.authority = after.substr(0, end);
    parts.rest = end == std::string_view::npos ? std::string_view() : after.substr(end);
    return 1;
}

// Scheme, host and port of an http or https address, as one comparable text; empty when the
// address is no such address.
std::string originOf(std::string_view address) {
    AddressParts parts;
    if (!splitAddress(address, parts)) return {};
    std::string scheme = lowercase(parts.scheme);
    if (scheme != "http" && scheme != "https") return {};
    std::string_view authority = parts.authority;
    size_t at = authority.rfind('@');
    if (at != std::string_view::npos) authority.remove_prefix(at + 1);
    size_t portStart = authority.rfind(':');
    if (portStart != std::string_view::npos && authority.find(']', portStart) != std::string_view::npos)
        portStart = std::string_view::npos;  // a colon of an IPv6 address
    std::string_view host = authority.substr(0, portStart);
    std::string_view port = portStart == std::string_view::npos ? std::string_view() : authority.substr(portStart + 1);
    if (host.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string_view::npos) return {};
    long number = port.empty() ? (scheme == "https" ? 443 : 80) : std::stol(std::string(port));
    if (number <= 0 || number > 65535) return {};
    return scheme + "://" + lowercase(host) + ":" + std::to_string(number);
}

std::string withoutTrailingSlash(std::string_view server) {
    while (!server.empty() && server.back() == '/') server.remove_suffix(1);
    return std::string(server);
}

void appendParameter(std::string& url, const char* name, std::string_view value) {
    url += url.find('?') == std::string::npos ? '?' : '&';
    url += name;
    url += '=';
    url += percentEncoded(value);
}

void appendKeyField(std::string& key, std::string_view field) {
    for (char c : field) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
        key += lowered(c);
    }
    key += '\t';
}

// location made absolute against url (both already free of blanks).
std::string resolvedAgainst(std::string_view url, std::string_view location) {
    AddressParts base;
    if (schemeLength(location) > 0 || !splitAddress(url, base)) return std::string(location);
    if (location.substr(0, 2) == "//") return std::string(base.scheme) + ":" + std::string(location);
    std::string origin = std::string(base.scheme) + "://" + std::string(base.authority);
    if (location.front() == '/') return origin + std::string(location);
    std::string_view path = base.rest.substr(0, base.rest.find_first_of("?#"));
    if (location.front() == '?') return origin + std::string(path) + std::string(location);
    return origin + std::string(path.substr(0, path.rfind('/') + 1)) + std::string(location);
}

}  // namespace

bool queryIsComplete(const OnlineQuery& query) {
    return !query.track.empty() && !query.artist.empty() && query.durationSeconds > 0;
}

std::string percentEncoded(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                     byte == '-' || byte == '.' || byte == '_' || byte == '~';
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

ServerAddressProblem serverAddressProblem(std::string_view server) {
    if (holdsBlanksOrControls(server) || originOf(server).empty()) return ServerAddressProblem::kNotHttp;
    AddressParts parts;
    splitAddress(server, parts);
    if (parts.rest.find_first_of("?#") != std::string_view::npos) return ServerAddressProblem::kQueryOrFragment;
    return ServerAddressProblem::kNone;
}

const char* serverAddressProblemText(ServerAddressProblem problem) {
    switch (problem) {
    case ServerAddressProblem::kNone: break;
    case ServerAddressProblem::kNotHttp: return "is no http or https address";
    case ServerAddressProblem::kQueryOrFragment: return "holds a query or fragment (\"?\" or \"#\")";
    }
    return "is usable";
}

std::string getRequestUrl(std::string_view server, const OnlineQuery& query) {
    std::string url = withoutTrailingSlash(server) + "/api/get";
    appendParameter(url, "track_name", query.track);
    appendParameter(url, "artist_name", query.artist);
    appendParameter(url, "album_name", query.album);
    appendParameter(url, "duration", std::to_string(query.durationSeconds));
    return url;
}

std::string searchRequestUrl(std::string_view server, const OnlineQuery& query) {
    std::string url = withoutTrailingSlash(server) + "/api/search";
    appendParameter(url, "track_name", query.track);
    appendParameter(url, "artist_name", query.artist);
    return url;
}

int sameServerRedirect(std::string_view url, std::string_view location, std::string& target) {
    location = location.substr(0, location.find('#'));
    if (location.empty() || holdsBlanksOrControls(location)) return 0;
    std::string resolved = resolvedAgainst(url, location);
    std::string origin = originOf(resolved);
    if (origin.empty() || origin != originOf(url)) return 0;
    target = std::move(resolved);
    return 1;
}

std::string missKey(const OnlineQuery& query) {
    std::string key;
    appendKeyField(key, query.track);
    appendKeyField(key, query.artist);
    appendKeyField(key, query.album);
    key += std::to_string(query.durationSeconds);
    return key;
}
