#include "params/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <map>

#include "params/JsonValue.h"
#include "params/ParamNames.h"

namespace zr {

namespace {

// A settings file is a few kilobytes; anything much larger is refused.
constexpr off_t kMaxFileBytes = 1 << 20;

bool parseInt(std::string_view s, long long& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

// One entry as read from a file, before it is checked.
struct RawEntry {
    std::string name;  // may be empty when only the row is given
    std::string row;   // may be empty when only the name is given
    std::string value;
    int line;
};

// Sets the message; false, for the caller to return.
bool refuse(std::string& error, std::string message) {
    error = std::move(message);
    return false;
}

std::string where(int line) {
    return "line " + std::to_string(line) + ": ";
}

// "knee_point (row 41)": as Compare and the command-line tool name a row.
std::string named(int row) {
    return std::string(ParamNames::name(row)) + " (row " + std::to_string(row) + ")";
}

bool check(const std::vector<RawEntry>& raw, const CameraParamTable& table,
           std::vector<SettingsEntry>& entries, std::string& error) {
    std::map<int, int> seen;  // row -> the line it was first given on
    std::vector<SettingsEntry> out;
    for (const RawEntry& e : raw) {
        const std::string at = where(e.line);
        int row = -1;
        if (!e.row.empty()) {
            long long r = -1;
            if (!parseInt(e.row, r) || r < 0 || r >= UserParamCount)
                return refuse(error, at + "row " + e.row + " is not a user setting (0.." +
                                         std::to_string(UserParamCount - 1) + ")");
            row = static_cast<int>(r);
        }
        if (!e.name.empty()) {
            auto found = ParamNames::find(e.name);
            if (!found || *found >= UserParamCount || std::to_string(*found) == e.name)
                return refuse(error, at + "unknown setting name \"" + e.name + "\"");
            if (row >= 0 && row != *found)
                return refuse(error, at + "name \"" + e.name + "\" is row " +
                                         std::to_string(*found) + ", not row " +
                                         std::to_string(row));
            row = *found;
        }
        if (row < 0) return refuse(error, at + "neither a name nor a row");
        long long v = 0;
        if (!parseInt(e.value, v))
            return refuse(error,
                          at + named(row) + " value \"" + e.value + "\" is not a whole number");
        const CameraParam& p = table[row];
        if (v < p.minValue || v > p.maxValue)
            return refuse(error, at + named(row) + " = " + e.value + " is out of range (" +
                                     std::to_string(p.minValue) + ".." +
                                     std::to_string(p.maxValue) + ")");
        const auto [first, fresh] = seen.emplace(row, e.line);
        if (!fresh)
            return refuse(error, at + std::string(ParamNames::name(row)) +
                                     " is given twice (first on line " +
                                     std::to_string(first->second) + ")");
        out.push_back({row, static_cast<int32_t>(v)});
    }
    entries = std::move(out);
    return true;
}

bool parseJson(std::string_view text, std::vector<RawEntry>& raw, std::string& error) {
    auto doc = JsonValue::parse(text, error);
    if (!doc) return refuse(error, "broken JSON: " + error);
    const JsonValue* list = &*doc;
    if (doc->isObject()) {
        if (const JsonValue* camera = doc->member("camera")) {
            if (!camera->isString()) return refuse(error, "JSON \"camera\" is not a string");
            if (camera->text() != kSettingsFileCamera)
                return refuse(error, "the file is for camera \"" + camera->text() + "\", not " +
                                         kSettingsFileCamera);
        }
        list = doc->member("settings");
        if (!list) return refuse(error, "JSON snapshot has no \"settings\" list");
    }
    if (!list->isArray()) return refuse(error, "JSON \"settings\" is not a list");
    for (const JsonValue& item : list->items()) {
        const std::string at = where(item.line());
        if (!item.isObject()) return refuse(error, at + "JSON settings entry is not an object");
        RawEntry e{"", "", "", item.line()};
        if (const JsonValue* n = item.member("name")) {
            if (!n->isString()) return refuse(error, at + "JSON \"name\" is not a string");
            e.name = n->text();
        }
        if (const JsonValue* r = item.member("row")) {
            if (!r->isNumber()) return refuse(error, at + "JSON \"row\" is not a number");
            e.row = r->text();
        }
        const JsonValue* v = item.member("value");
        if (!v || !v->isNumber())
            return refuse(error, at + "JSON entry " + (e.name.empty() ? e.row : e.name) +
                                     " has no numeric \"value\"");
        e.value = v->text();
        raw.push_back(std::move(e));
    }
    return true;
}

std::string trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

bool parseCsv(std::string_view text, std::vector<RawEntry>& raw, std::string& error) {
    int line = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(pos, end - pos);
        pos = end + 1;
        ++line;
        std::string t = trim(l);
        if (t.empty() || t[0] == '#') continue;
        std::vector<std::string> fields;
        size_t f = 0;
        while (true) {
            size_t c = t.find(',', f);
            fields.push_back(
                trim(std::string_view(t).substr(f, c == std::string::npos ? c : c - f)));
            if (c == std::string::npos) break;
            f = c + 1;
        }
        if (line == 1 && fields.size() >= 1 && fields[0] == "name") continue;  // header
        if (fields.size() != 3) return refuse(error, where(line) + "expected name,row,value");
        raw.push_back({fields[0], fields[1], fields[2], line});
        if (end == text.size()) break;
    }
    return true;
}

}  // namespace

SettingsFile::Format SettingsFile::formatForPath(std::string_view path) {
    auto dot = path.rfind('.');
    if (dot != std::string_view::npos) {
        std::string ext(path.substr(dot + 1));
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (ext == "csv") return Format::Csv;
    }
    return Format::Json;
}

std::string SettingsFile::format(const std::vector<SettingsEntry>& entries, Format format) {
    std::string out;
    if (format == Format::Csv) {
        out = "name,row,value\n";
        for (const auto& e : entries)
            out += std::string(ParamNames::name(e.row)) + "," + std::to_string(e.row) + "," +
                   std::to_string(e.value) + "\n";
        return out;
    }
    out = "{\n  \"camera\": \"" + std::string(kSettingsFileCamera) + "\",\n  \"settings\": [\n";
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i];
        out += "    {\"name\": \"" + std::string(ParamNames::name(e.row)) +
               "\", \"row\": " + std::to_string(e.row) + ", \"value\": " + std::to_string(e.value) +
               "}";
        out += i + 1 < entries.size() ? ",\n" : "\n";
    }
    out += "  ]\n}\n";
    return out;
}

bool SettingsFile::parse(std::string_view text, const CameraParamTable& table,
                         std::vector<SettingsEntry>& entries, std::string& error) {
    entries.clear();
    std::vector<RawEntry> raw;
    size_t first = text.find_first_not_of(" \t\r\n");
    bool json = first != std::string_view::npos && (text[first] == '{' || text[first] == '[');
    if (!(json ? parseJson(text, raw, error) : parseCsv(text, raw, error))) return false;
    if (raw.empty()) return refuse(error, "the snapshot holds no settings");
    return check(raw, table, entries, error);
}

SettingsFileRead SettingsFile::read(const std::string& path, std::string& out) {
    const char* const tooLarge = "too large for a snapshot (over 1 MiB)";
    SettingsFileRead result;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        result.err = errno;
    } else if (S_ISDIR(st.st_mode)) {
        result.err = EISDIR;
        result.problem = "not a regular file";
    } else if (!S_ISREG(st.st_mode)) {
        result.problem = "not a regular file";
    } else if (st.st_size > kMaxFileBytes) {
        result.problem = tooLarge;
    }
    if (result.err != 0 && result.problem.empty()) result.problem = std::strerror(result.err);
    out.clear();
    char buffer[4096];
    while (result.ok()) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) break;
        if (n < 0) {
            result.err = errno;
            result.problem = std::strerror(errno);
        } else if (out.size() + static_cast<size_t>(n) > static_cast<size_t>(kMaxFileBytes)) {
            result.problem = tooLarge;  // grew while read
        } else {
            out.append(buffer, static_cast<size_t>(n));
        }
    }
    if (fd >= 0) ::close(fd);
    if (!result.ok()) out.clear();
    return result;
}

}  // namespace zr
