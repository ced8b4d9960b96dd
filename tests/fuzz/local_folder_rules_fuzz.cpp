// The verdict over a chosen folder reads nothing past its text's end, and
// follows the drive type before the root rule.
#include <cstring>
#include <memory>
#include <string>

#include "config/local_folder_rules.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const unsigned driveType = input.TakeByte() % 8;
    const std::string text = input.TakeText();
    // Exactly the text and its terminator, so that AddressSanitizer sees a
    // read past the end.
    std::unique_ptr<char[]> folder(new char[text.size() + 1]);
    std::memcpy(folder.get(), text.c_str(), text.size() + 1);

    char root[4];
    const bool hasRoot = zel::DriveRootOf(folder.get(), root);
    zelfuzz::Require(hasRoot == !text.empty(), "a drive root for every text but the empty one");
    if (hasRoot)
        zelfuzz::Require(root[0] == text[0] && std::strcmp(root + 1, ":\\") == 0, "the root of the first byte");

    const zel::FolderVerdict verdict = zel::JudgeFolder(folder.get(), driveType);
    if (text.empty() || !zel::IsLocalDriveType(driveType))
        zelfuzz::Require(verdict == zel::FolderVerdict::NotLocal,
                         "the empty text, which names no drive, and a drive that is not local are refused first");
    else
        zelfuzz::Require((verdict == zel::FolderVerdict::DriveRoot) == (text.size() < 3), "a bare root is refused");
    return 0;
}
