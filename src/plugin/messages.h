#pragma once
// Every text the module shows to its user, in one place.

namespace messages {

// Captions of the four report severities.
inline constexpr char kDebugNoteCaption[] = "Debug Note";
inline constexpr char kWarningCaption[] = "Warning";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kFatalCaption[] = "Fatal";

// Shown instead of a format too long to be formatted safely.
inline constexpr char kFormatTooLong[] = "whoops, string too long to display!";

inline constexpr char kNotEnoughMemory[] =
    "Not enough memory to run this animation. Quit and increase Netscape's memory.";
// Told once per movie when blocks of its stream had to be left out, or when
// a frame asked for more drawing than a frame may do.
inline constexpr char kDamagedAnimation[] =
    "Part of this animation is damaged or too large and cannot be shown.";
inline constexpr char kCantCreateFont[] = "Can't create font : %s, size : %d";
// A font the platform could make, refused because the movie already holds as
// many distinct fonts as it may.
inline constexpr char kTooManyFonts[] =
    "This animation uses too many different fonts: text in %s, size %d, is drawn in the system font.";
inline constexpr char kCantCreateMediaWindow[] = "Can't create a media window.";
inline constexpr char kMciError[] = "MCI ERROR. %d.";
// A failed MCI command's box: the command, this, then MCI's text for the error.
inline constexpr char kMciCommandSeparator[] = ":\n";
inline constexpr char kSoundPathTooLong[] = "Sound file path too long: %s";

inline constexpr char kSubclassFailed[] = "SubclassWindow Failed";
inline constexpr char kSubclassFailedCaption[] = "Plug-in-vxa";

}  // namespace messages
