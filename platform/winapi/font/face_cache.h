// What fontconfig answered to this program's face requests, kept between runs in the user's
// cache directory. Setting fontconfig up (parsing its configuration, mapping its caches) costs
// more than all the rest of a start; the few faces a run resolves are always the same.
//
// The answers are kept with what they depend on: fontconfig's version, the environment it
// reads, and the identity and time stamp of every configuration file and directory and every
// font directory it used. A change in any of them, a file that cannot be read or that is not
// ours, and the answers are dropped: fontconfig is asked again, and chooses as it always does.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace winapi::font {

class FaceCache {
public:
    // Kept in path; an empty path keeps nothing between runs.
    explicit FaceCache(std::string path);

    // $XDG_CACHE_HOME/tintaro/faces, else ~/.cache/tintaro/faces; empty without either.
    static std::string DefaultPath();

    // The answer kept for key, if the file holds one that is still good.
    std::optional<std::string> Find(const std::string& key);
    // Records an answer fontconfig has just given (so it is set up) and writes the file.
    void Store(const std::string& key, std::string answer);

private:
    struct Stamp {
        std::string path;
        std::string identity;  // device, inode, size, modification time; empty when missing
    };
    void LoadOnce();
    std::vector<Stamp> TakeStamps() const;
    void Save() const;

    std::string m_path;
    bool m_loaded = false;
    std::map<std::string, std::string> m_answers;
};

}  // namespace winapi::font
