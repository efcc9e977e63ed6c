// Keeping a copy of editor text that could not be written back, so that a
// failed autosave never loses an edit.
#pragma once

#include <QString>

#include <string>

namespace talmo {

// Writes `text` into the user's application data folder under a name made of
// the file name of `originalPath` and the time; returns the copy's path, or
// an empty string when even that fails.
QString writeRecoveryFile(const QString& originalPath, const std::string& text);

} // namespace talmo
