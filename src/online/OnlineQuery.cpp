#include "online/OnlineQuery.h"

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
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
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        key += c;
    }
    key += '\t';
}

}  // namespace

int queryFromTitle(std::string_view hostTitle, OnlineQuery& query) {
    size_t dash = hostTitle.find(" - ");
    if (dash == std::string_view::npos) return 0;
    std::string_view artist = trimmed(hostTitle.substr(0, dash));
    std::string_view track = trimmed(hostTitle.substr(dash + 3));
    if (artist.empty() || track.empty()) return 0;
    query.artist = artist;
    query.track = track;
    return 1;
}

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

std::string missKey(const OnlineQuery& query) {
    std::string key;
    appendKeyField(key, query.track);
    appendKeyField(key, query.artist);
    appendKeyField(key, query.album);
    key += std::to_string(query.durationSeconds);
    return key;
}
