// From a requested face name to face files: the names Win32 programs and the dialog templates
// use are mapped to faces this system has, and fontconfig finds the files.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/winapi/font/face_cache.h"
#include "platform/winapi/font/freetype_face.h"
#include "platform/winapi/font/stood_for_face.h"

namespace winapi::font {

struct FaceRequest {
    std::string family;                      // what fontconfig is asked for
    const StoodForFace* stoodFor = nullptr;  // the face whose layout metrics apply, if any
    bool japanese = false;                   // a Japanese face, which only another can replace
};

// Face names compare as Win32 compares them: ASCII letters in any case; the full-width forms
// of the Japanese names are the same as their ASCII forms.
FaceRequest InterpretFaceName(std::string_view requestedFace);

// A face other than primaryFamily that has ch, for text the chosen face cannot show.
std::optional<FaceFile> FindFaceWith(char32_t ch, const std::string& primaryFamily);

class FaceResolver {
public:
    // Where the resolver says which face stands in for a missing one; by default a line on
    // stderr under the program's name.
    using Notice = std::function<void(const std::string&)>;
    // With a cache, answers kept from earlier runs spare setting fontconfig up; only for
    // fontconfig's own configuration, which the cache watches, not one set in the process.
    explicit FaceResolver(Notice notice = {}, FaceCache* cache = nullptr);

    // Files to try in order: fontconfig's best match for the family, then any scalable faces.
    // A Japanese family that this system lacks gives way to the nearest face fontconfig has for
    // Japanese text; the first time, the notice names it, or says that there is none.
    const std::vector<FaceFile>& Candidates(const std::string& family, int weight, bool italic,
                                            bool japanese = false);
    // Forgets the matches, not what was said: each notice is given once per resolver.
    void Clear();

private:
    std::optional<FaceFile> BestFace(const std::string& family, int weight, bool italic,
                                     bool japanese);
    std::vector<FaceFile> Resolve(const std::string& family, int weight, bool italic,
                                  bool japanese);
    void NoticeOnce(const std::string& key, const std::string& text);
    const std::vector<FaceFile>& AnyScalable();

    Notice m_notice;
    FaceCache* m_cache;
    std::set<std::string> m_noticed;
    // The notices of the answer being worked out, kept with it and said again when it is
    // taken from the cache.
    std::vector<std::pair<std::string, std::string>> m_said;
    std::map<std::tuple<std::string, int, bool, bool>, std::vector<FaceFile>> m_matches;
    std::optional<std::vector<FaceFile>> m_anyScalable;
};

}  // namespace winapi::font
