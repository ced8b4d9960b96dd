#include "message_box_recorder.h"

#include <algorithm>

#include "frame/handles.h"

namespace zelhost {
namespace {

constexpr UINT kPollMs = 20;
constexpr int kStaticTextId = 0xFFFF;

std::string WindowText(HWND window)
{
    char text[4096] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string BoxText(HWND box)
{
    char text[8192] = {};
    GetDlgItemTextA(box, kStaticTextId, text, sizeof text);
    return text;
}

} // namespace

std::string SystemText(DWORD code)
{
    zel::LocalMemory buffer;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(buffer.put()), 0, nullptr);
    return length > 0 && buffer ? std::string(static_cast<const char*>(buffer.get()), length) : std::string();
}

std::ostream& operator<<(std::ostream& out, const RecordedBox& box)
{
    return out << "{owner " << box.owner << ", caption \"" << box.caption << "\", text \"" << box.text << "\"}";
}

MessageBoxRecorder* MessageBoxRecorder::current_ = nullptr;

MessageBoxRecorder::MessageBoxRecorder(std::function<void(const RecordedBox&)> onBox)
    : onBox_(std::move(onBox)), timer_(SetTimer(nullptr, 0, kPollMs, &MessageBoxRecorder::OnTimer))
{
    current_ = this;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

std::vector<RecordedBox> MessageBoxRecorder::Take()
{
    std::vector<RecordedBox> recent(boxes_.begin() + static_cast<std::ptrdiff_t>(taken_), boxes_.end());
    taken_ = boxes_.size();
    return recent;
}

BOOL CALLBACK MessageBoxRecorder::Answer(HWND window, LPARAM)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    // A box stays listed until it has handled the answer; answer it once.
    std::vector<HWND>& answered = current_->answered_;
    if (std::find(answered.begin(), answered.end(), window) != answered.end())
        return TRUE;
    const RecordedBox seen{GetWindow(window, GW_OWNER), WindowText(window), BoxText(window)};
    current_->boxes_.push_back(seen);
    answered.push_back(window);
    if (current_->onBox_)
        current_->onBox_(seen);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK MessageBoxRecorder::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (current_ == nullptr)
        return;
    // Forget boxes that have closed: a later box may get the same handle.
    std::vector<HWND>& answered = current_->answered_;
    answered.erase(std::remove_if(answered.begin(), answered.end(), [](HWND h) { return !IsWindow(h); }),
                   answered.end());
    EnumThreadWindows(GetCurrentThreadId(), &MessageBoxRecorder::Answer, 0);
}

} // namespace zelhost
