#pragma once
// Where a movie's numbered sound files live: the "\PLUGINS\VXA_WAV\" folder
// below the host browser's program directory, written with short (8.3)
// names, as the host's own installation keeps them.
#include <string>

// The host browser's installation directory as the host recorded it in
// HKEY_CURRENT_USER, or "" when that value cannot be read.
std::string readInstallDirectory();

// The sound directory for an installation directory: "\PROGRAM" made its
// last component, every component after the drive replaced by its short
// name, then "\PLUGINS\VXA_WAV\". A component the file system cannot find is
// used as given. An empty installation directory gives "": no sound
// directory, so no sound file is looked for.
std::string soundDirectoryFor(std::string installDirectory);

// soundDirectoryFor(readInstallDirectory()).
std::string findSoundDirectory();
