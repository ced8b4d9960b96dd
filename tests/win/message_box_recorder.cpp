#include "message_box_recorder.h"

#include <algorithm>

namespace zeltest {
namespace {

constexpr DWORD kPollMs = 20;
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

BOOL CALLBACK CollectDialogs(HWND window, LPARAM param)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == GetCurrentProcessId() && lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

} // namespace

std::string SystemText(DWORD code)
{
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code,
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? std::string(buffer, length) : std::string();
    LocalFree(buffer);
    return text;
}

std::ostream& operator<<(std::ostream& out, const RecordedBox& box)
{
    return out << "{owner " << box.owner << ", caption \"" << box.caption << "\", text \"" << box.text << "\"}";
}

MessageBoxRecorder::MessageBoxRecorder(std::function<void(const RecordedBox&)> onBox)
    : onBox_(std::move(onBox)),
      stop_(CreateEventA(nullptr, TRUE, FALSE, nullptr))
{
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, &MessageBoxRecorder::Watch, this, 0, nullptr);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    DeleteCriticalSection(&lock_);
}

std::vector<RecordedBox> MessageBoxRecorder::Boxes()
{
    EnterCriticalSection(&lock_);
    std::vector<RecordedBox> copy = boxes_;
    LeaveCriticalSection(&lock_);
    return copy;
}

DWORD WINAPI MessageBoxRecorder::Watch(void* self)
{
    auto* recorder = static_cast<MessageBoxRecorder*>(self);
    while (WaitForSingleObject(recorder->stop_, kPollMs) == WAIT_TIMEOUT)
        recorder->AnswerOpenBoxes();
    return 0;
}

void MessageBoxRecorder::AnswerOpenBoxes()
{
    std::vector<HWND> open;
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&open));
    for (HWND box : open) {
        // A box stays listed until it has handled the answer; answer it once.
        if (std::find(answered_.begin(), answered_.end(), box) != answered_.end())
            continue;
        const RecordedBox seen{GetWindow(box, GW_OWNER), WindowText(box), BoxText(box)};
        EnterCriticalSection(&lock_);
        boxes_.push_back(seen);
        LeaveCriticalSection(&lock_);
        if (onBox_)
            onBox_(seen);
        answered_.push_back(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    // Forget boxes that have closed: a later box may get the same handle.
    answered_.erase(std::remove_if(answered_.begin(), answered_.end(), [](HWND h) { return !IsWindow(h); }),
                    answered_.end());
}

SameThreadBoxRecorder* SameThreadBoxRecorder::current_ = nullptr;

SameThreadBoxRecorder::SameThreadBoxRecorder() : timer_(SetTimer(nullptr, 0, 50, &SameThreadBoxRecorder::OnTimer))
{
    current_ = this;
}

SameThreadBoxRecorder::~SameThreadBoxRecorder()
{
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

BOOL CALLBACK SameThreadBoxRecorder::Answer(HWND window, LPARAM)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    if (std::find(current_->answered_.begin(), current_->answered_.end(), window) != current_->answered_.end())
        return TRUE;
    current_->boxes_.push_back({GetWindow(window, GW_OWNER), WindowText(window), BoxText(window)});
    current_->answered_.push_back(window);
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return TRUE;
}

void CALLBACK SameThreadBoxRecorder::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (current_ != nullptr)
        EnumThreadWindows(GetCurrentThreadId(), &SameThreadBoxRecorder::Answer, 0);
}

} // namespace zeltest
