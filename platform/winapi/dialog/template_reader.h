// Reading a dialog template in either of Win32's forms: the extended DLGTEMPLATEEX (all the
// program's resources) and the plain DLGTEMPLATE, told apart by the signature Win32 checks.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/winapi/resource/dialog_template.h"

namespace winapi::dialog {

// The plain form, read into the extended form's fields: item ids are WORDs, the font has no
// weight, italic flag or character set (FW_DONTCARE, upright, DEFAULT_CHARSET).
std::optional<DialogTemplate> ParsePlainDialogTemplate(std::span<const std::uint8_t> bytes);

// Either form; nullopt when the bytes end before the template does.
std::optional<DialogTemplate> ParseAnyDialogTemplate(std::span<const std::uint8_t> bytes);

}  // namespace winapi::dialog
