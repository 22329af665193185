// From a requested face name to face files: the names Win32 programs and the dialog templates
// use are mapped to faces this system has, and fontconfig finds the files.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "platform/winapi/font/freetype_face.h"
#include "platform/winapi/font/stood_for_face.h"

namespace winapi::font {

struct FaceRequest {
    std::string family;                      // what fontconfig is asked for
    const StoodForFace* stoodFor = nullptr;  // the face whose layout metrics apply, if any
};

// Face names compare as Win32 compares them: ASCII letters in any case; the full-width forms
// of the Japanese names are the same as their ASCII forms.
FaceRequest InterpretFaceName(std::string_view requestedFace);

// A face other than primaryFamily that has ch, for text the chosen face cannot show.
std::optional<FaceFile> FindFaceWith(char32_t ch, const std::string& primaryFamily);

class FaceResolver {
public:
    // Files to try in order: fontconfig's best match for the family, then any scalable faces.
    const std::vector<FaceFile>& Candidates(const std::string& family, int weight, bool italic);
    void Clear();

private:
    const std::vector<FaceFile>& AnyScalable();

    std::map<std::tuple<std::string, int, bool>, std::vector<FaceFile>> m_matches;
    std::optional<std::vector<FaceFile>> m_anyScalable;
};

}  // namespace winapi::font
