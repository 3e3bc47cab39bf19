#pragma once

#include <optional>
#include <string>

// The user's guide: the first "Quillmore/KORVANE/KORVANE User's Guide.pdf" that exists as a file
// under $XDG_DATA_HOME (default ~/.local/share), then under each folder of $XDG_DATA_DIRS
// (default /usr/local/share:/usr/share); nothing when there is none.
std::optional<std::string> FindUserGuide();
