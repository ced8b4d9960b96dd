// Whether a folder chosen for the installation may be taken: the rules over
// its text and its drive's type, kept free of <windows.h>.
#pragma once

namespace zel {

// The drive types that GetDriveTypeA reports and that these rules know by name.
constexpr unsigned kDriveNoRootDir = 1;
constexpr unsigned kDriveRemovable = 2;
constexpr unsigned kDriveFixed = 3;

enum class FolderVerdict {
    Accepted,
    NotLocal,   // the drive is not a removable or fixed one
    DriveRoot,  // the text is a drive letter, alone or with its colon
};

// The text "X:\" of a folder's first byte, into root. False for the empty
// text, which names no drive; root is then the empty text.
bool DriveRootOf(const char* folder, char (&root)[4]);

// Only removable and fixed drives are local in the sense of the installation.
bool IsLocalDriveType(unsigned driveType);

// The verdict over a folder whose drive root has driveType. The drive type
// is judged first; then a text of fewer than three bytes counts as the bare
// root of the drive. Nothing after the third byte is looked at, and no byte
// after the terminator is read.
FolderVerdict JudgeFolder(const char* folder, unsigned driveType);

} // namespace zel
