#include "frame/setup_messages.h"

#include <vector>

#include "frame/handles.h"
#include "frame/message_text.h"
#include "frame/module_app.h"
#include "frame/setup_message_ids.h"

namespace zel {
namespace {

constexpr DWORD kNeutralDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
constexpr char kSystemErrorCaption[] = "Kelvaron";

// LoadStringA cuts a text to the buffer it is given and cannot tell its length;
// grow the buffer until the text is shorter than it.
std::string LoadResourceString(HINSTANCE instance, UINT id)
{
    std::vector<char> buffer(256);
    for (;;) {
        const int length = LoadStringA(instance, id, buffer.data(), static_cast<int>(buffer.size()));
        if (length <= 0)
            return std::string();
        if (static_cast<size_t>(length) < buffer.size() - 1)
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string LoadSetupMessage(int id)
{
    const std::string tag = MessageTag(id);
    return LoadResourceString(ModuleInstance(), static_cast<UINT>(id)) + tag;
}

void ShowSetupMessage(HWND ownerWindow, int id)
{
    const std::string caption = LoadSetupMessage(kMsgSetupCaption);
    const std::string text = LoadSetupMessage(id);
    MessageBoxA(ownerWindow, text.c_str(), caption.c_str(), MB_OK);
}

int ShowSystemError(DWORD code, const char* subject)
{
    LocalMemory systemBuffer;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM,
                                        nullptr, code, kNeutralDefaultLanguage,
                                        reinterpret_cast<char*>(systemBuffer.put()), 0, nullptr);
    const std::string systemText =
        (length > 0 && systemBuffer) ? WithoutSystemLineEnd(static_cast<const char*>(systemBuffer.get()))
                                     : std::string();
    const std::string text = ComposeSystemErrorText(subject, systemText, code);
    MessageBoxA(nullptr, text.c_str(), kSystemErrorCaption, MB_OK);
    return 1;
}

} // namespace zel
