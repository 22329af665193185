#include "platform/winapi/font/face_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string_view>

#include <fontconfig/fontconfig.h>

namespace winapi::font {
namespace {

constexpr std::string_view kHeader = "tintaro-faces 1\n";
// Far more than the answers of any run; a larger file is not ours.
constexpr std::size_t kMaxFileBytes = 1 << 20;

// What fontconfig reads from the environment: where its configuration is, and the languages
// its defaults take from the locale.
constexpr std::array kEnvironment{
    "FONTCONFIG_FILE",
    "FONTCONFIG_PATH",
    "FONTCONFIG_SYSROOT",
    "FC_LANG",
    "LANGUAGE",
    "LC_ALL",
    "LC_CTYPE",
    "LANG",
    "HOME",
    "XDG_CONFIG_HOME",
    "XDG_DATA_HOME",
    "XDG_CACHE_HOME",
};

std::string Environment() {
    std::string context = "fontconfig " + std::to_string(FcGetVersion());
    for (const char* name : kEnvironment) {
        const char* value = std::getenv(name);
        context += '\n';
        context += name;
        context += value != nullptr ? "=" + std::string(value) : std::string(" unset");
    }
    return context;
}

std::string Identity(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return {};
    char text[160];
    std::snprintf(
        text, sizeof text, "%llu %llu %lld %lld.%09ld %lld.%09ld",
        static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
        static_cast<long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
        info.st_mtim.tv_nsec, static_cast<long long>(info.st_ctim.tv_sec), info.st_ctim.tv_nsec);
    return text;
}

std::string HomePath(const char* variable, const char* underHome) {
    if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/')
        return value;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        return std::string(home) + "/" + underHome;
    return {};
}

void AddAll(FcStrList* list, std::set<std::string>& paths, bool withParent) {
    if (list == nullptr)
        return;
    while (const FcChar8* item = FcStrListNext(list)) {
        const std::string path = reinterpret_cast<const char*>(item);
        paths.insert(path);
        if (withParent)
            paths.insert(std::filesystem::path(path).parent_path().string());
    }
    FcStrListDone(list);
}

void AppendRecord(std::string& out, char tag, std::string_view bytes) {
    out += tag;
    out += ' ';
    out += std::to_string(bytes.size());
    out += '\n';
    out += bytes;
    out += '\n';
}

// Reads "<tag> <length>\n<bytes>\n" at offset; false at the end or on anything else.
bool ReadRecord(std::string_view file, std::size_t& offset, char& tag, std::string_view& bytes) {
    const std::size_t lineEnd = file.find('\n', offset);
    if (lineEnd == std::string_view::npos || lineEnd < offset + 3 || file[offset + 1] != ' ')
        return false;
    tag = file[offset];
    std::size_t length = 0;
    for (std::size_t i = offset + 2; i < lineEnd; ++i) {
        if (file[i] < '0' || file[i] > '9' || length > kMaxFileBytes)
            return false;
        length = length * 10 + std::size_t(file[i] - '0');
    }
    if (lineEnd + 1 + length >= file.size() || file[lineEnd + 1 + length] != '\n')
        return false;
    bytes = file.substr(lineEnd + 1, length);
    offset = lineEnd + 2 + length;
    return true;
}

std::optional<std::string> ReadWhole(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string content;
    char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0 || content.size() + std::size_t(n) > kMaxFileBytes) {
            close(fd);
            if (n == 0)
                return content;
            return std::nullopt;
        }
        content.append(buffer, std::size_t(n));
    }
}

}  // namespace

FaceCache::FaceCache(std::string path) : m_path(std::move(path)) {}

std::string FaceCache::DefaultPath() {
    const std::string base = HomePath("XDG_CACHE_HOME", ".cache");
    return base.empty() ? std::string() : base + "/tintaro/faces";
}

std::optional<std::string> FaceCache::Find(const std::string& key) {
    LoadOnce();
    if (const auto found = m_answers.find(key); found != m_answers.end())
        return found->second;
    return std::nullopt;
}

void FaceCache::Store(const std::string& key, std::string answer) {
    LoadOnce();
    m_answers[key] = std::move(answer);
    Save();
}

// The answers are taken only when the whole file reads as ours and every stamp in it still
// holds; anything else and the run starts from nothing.
void FaceCache::LoadOnce() {
    if (m_loaded)
        return;
    m_loaded = true;
    if (m_path.empty())
        return;
    const auto file = ReadWhole(m_path);
    if (!file || file->compare(0, kHeader.size(), kHeader) != 0)
        return;
    const std::string_view content(*file);
    std::size_t offset = kHeader.size();
    char tag = 0;
    std::string_view bytes;
    if (!ReadRecord(content, offset, tag, bytes) || tag != 'C' || bytes != Environment())
        return;
    std::map<std::string, std::string> answers;
    bool stamped = false;
    while (offset < content.size()) {
        if (!ReadRecord(content, offset, tag, bytes))
            return;
        const std::size_t split = bytes.find('\0');
        if (split == std::string_view::npos)
            return;
        const std::string first(bytes.substr(0, split));
        const std::string_view second = bytes.substr(split + 1);
        if (tag == 'S') {
            if (Identity(first) != second)
                return;
            stamped = true;
        } else if (tag == 'A') {
            answers[first] = std::string(second);
        } else {
            return;
        }
    }
    if (stamped)
        m_answers = std::move(answers);
}

// Everything fontconfig read, and the places where a file it would read may yet appear.
std::vector<FaceCache::Stamp> FaceCache::TakeStamps() const {
    std::set<std::string> paths;
    AddAll(FcConfigGetConfigFiles(nullptr), paths, true);
    AddAll(FcConfigGetConfigDirs(nullptr), paths, false);
    AddAll(FcConfigGetFontDirs(nullptr), paths, false);
    if (const char* file = std::getenv("FONTCONFIG_FILE"); file != nullptr && file[0] != '\0')
        paths.insert(file);
    paths.insert("/etc/fonts");
    paths.insert("/etc/fonts/fonts.conf");
    if (const std::string config = HomePath("XDG_CONFIG_HOME", ".config"); !config.empty()) {
        paths.insert(config);
        paths.insert(config + "/fontconfig");
        paths.insert(config + "/fontconfig/fonts.conf");
        paths.insert(config + "/fontconfig/conf.d");
    }
    if (const std::string data = HomePath("XDG_DATA_HOME", ".local/share"); !data.empty())
        paths.insert(data + "/fonts");
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
        paths.insert(std::string(home) + "/.fonts.conf");
        paths.insert(std::string(home) + "/.fonts.conf.d");
        paths.insert(std::string(home) + "/.fonts");
    }
    std::vector<Stamp> stamps;
    for (const std::string& path : paths) {
        if (!path.empty() && path.find('\0') == std::string::npos)
            stamps.push_back({path, Identity(path)});
    }
    return stamps;
}

// Written whole under another name and renamed over the old file: a reader sees one or the
// other, never half. Failing to write only costs the next run the set-up.
void FaceCache::Save() const {
    if (m_path.empty())
        return;
    std::string out(kHeader);
    AppendRecord(out, 'C', Environment());
    for (const Stamp& stamp : TakeStamps())
        AppendRecord(out, 'S', stamp.path + '\0' + stamp.identity);
    for (const auto& [key, answer] : m_answers)
        AppendRecord(out, 'A', key + '\0' + answer);
    if (out.size() > kMaxFileBytes)
        return;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ignored);
    std::string temporary = m_path + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return;
    std::size_t written = 0;
    while (written < out.size()) {
        const ssize_t n = write(fd, out.data() + written, out.size() - written);
        if (n <= 0)
            break;
        written += std::size_t(n);
    }
    const bool complete = written == out.size() && close(fd) == 0;
    if (!complete || rename(temporary.c_str(), m_path.c_str()) != 0)
        unlink(temporary.c_str());
    if (written != out.size())
        close(fd);
}

}  // namespace winapi::font
