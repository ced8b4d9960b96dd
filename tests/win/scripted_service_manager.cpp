#include "scripted_service_manager.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zeltest {
namespace {

const SC_HANDLE kManagerHandle = reinterpret_cast<SC_HANDLE>(0x1000);

std::string Hex(DWORD value)
{
    char text[16];
    wsprintfA(text, "0x%X", value);
    return text;
}

std::string DisplayNameOf(const std::string& name)
{
    return name + " display";
}

void Write(const ServiceAnswer& answer, SERVICE_STATUS* status)
{
    *status = SERVICE_STATUS{};
    status->dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status->dwCurrentState = answer.state;
    status->dwWaitHint = answer.waitHint;
}

} // namespace

ServiceAnswer State(DWORD state, DWORD waitHint)
{
    ServiceAnswer answer;
    answer.state = state;
    answer.waitHint = waitHint;
    return answer;
}

ServiceAnswer Failure(DWORD error)
{
    ServiceAnswer answer;
    answer.error = error;
    return answer;
}

ScriptedServiceManager::~ScriptedServiceManager()
{
    for (const auto& block : blocks_) {
        if (block.second == 0)
            HeapFree(GetProcessHeap(), 0, block.first);
    }
}

SC_HANDLE ScriptedServiceManager::Manager() const
{
    return kManagerHandle;
}

SC_HANDLE ScriptedServiceManager::CallerHandle(const std::string& name)
{
    return NewHandle(name, true);
}

SC_HANDLE ScriptedServiceManager::NewHandle(const std::string& name, bool callers)
{
    const SC_HANDLE handle = reinterpret_cast<SC_HANDLE>(nextHandle_);
    nextHandle_ += 0x10;
    handles_[handle] = HandleRecord{name, callers, 0};
    return handle;
}

const ScriptedServiceManager::HandleRecord* ScriptedServiceManager::Find(SC_HANDLE handle) const
{
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : &found->second;
}

std::string ScriptedServiceManager::NameOf(SC_HANDLE handle) const
{
    const HandleRecord* record = Find(handle);
    return record != nullptr ? record->name : "?";
}

void ScriptedServiceManager::ExpectEverythingReleased() const
{
    for (const auto& entry : handles_) {
        const HandleRecord& h = entry.second;
        if (h.callers)
            EXPECT_EQ(h.closes, 0) << "the caller's handle of " << h.name << " was closed";
        else
            EXPECT_EQ(h.closes, 1) << "the handle of " << h.name << " was closed " << h.closes << " times";
    }
    for (const auto& block : blocks_)
        EXPECT_EQ(block.second, 1) << "a block freed " << block.second << " times";
}

SC_HANDLE ScriptedServiceManager::OpenServiceA(SC_HANDLE manager, const char* serviceName, DWORD access)
{
    calls_.push_back("open " + std::string(serviceName) + " " + Hex(access) +
                     (manager == kManagerHandle ? "" : " through another manager"));
    const DWORD error = services_[serviceName].openError;
    if (error != 0) {
        SetLastError(error);
        return nullptr;
    }
    return NewHandle(serviceName, false);
}

BOOL ScriptedServiceManager::ControlService(SC_HANDLE service, DWORD control, SERVICE_STATUS* status)
{
    const std::string name = NameOf(service);
    calls_.push_back("control " + name + (control == SERVICE_CONTROL_STOP ? " stop" : " " + Hex(control)));
    const ServiceAnswer answer = services_[name].stopAnswer;
    if (answer.error != 0) {
        if (answer.writesOnFailure)
            Write(answer, status);
        SetLastError(answer.error);
        return FALSE;
    }
    Write(answer, status);
    return TRUE;
}

BOOL ScriptedServiceManager::QueryServiceStatus(SC_HANDLE service, SERVICE_STATUS* status)
{
    const std::string name = NameOf(service);
    calls_.push_back("query " + name);
    std::deque<ServiceAnswer>& queries = services_[name].queries;
    const ServiceAnswer answer = queries.front();
    if (queries.size() > 1)
        queries.pop_front();
    if (answer.error != 0) {
        SetLastError(answer.error);
        return FALSE;
    }
    Write(answer, status);
    return TRUE;
}

DWORD ScriptedServiceManager::BytesForDependents(const ScriptedService& service) const
{
    DWORD bytes = 0;
    for (const std::string& name : service.activeDependents)
        bytes += sizeof(ENUM_SERVICE_STATUSA) + name.size() + 1 + DisplayNameOf(name).size() + 1;
    return bytes;
}

// Lays the entries out as the manager does: the records first, then the texts
// they point to, all inside the caller's buffer.
BOOL ScriptedServiceManager::EnumDependentServicesA(SC_HANDLE service, DWORD serviceState,
                                                    ENUM_SERVICE_STATUSA* entries, DWORD bufferSize,
                                                    DWORD* bytesNeeded, DWORD* entriesReturned)
{
    const std::string name = NameOf(service);
    calls_.push_back("enum " + name + (serviceState == SERVICE_ACTIVE ? " active " : " state " + Hex(serviceState) + " ") +
                     std::to_string(bufferSize));
    const ScriptedService& script = services_[name];
    *entriesReturned = 0;
    const DWORD needed = BytesForDependents(script);
    *bytesNeeded = needed;
    if (needed == 0)
        return TRUE;
    if (entries == nullptr || bufferSize < needed) {
        SetLastError(sizingEnumError != 0 ? sizingEnumError : ERROR_MORE_DATA);
        return FALSE;
    }
    if (secondEnumError != 0) {
        SetLastError(secondEnumError);
        return FALSE;
    }
    char* text = reinterpret_cast<char*>(entries + script.activeDependents.size());
    for (size_t i = 0; i < script.activeDependents.size(); ++i) {
        const std::string& dependent = script.activeDependents[i];
        const std::string display = DisplayNameOf(dependent);
        entries[i].lpServiceName = std::strcpy(text, dependent.c_str());
        text += dependent.size() + 1;
        entries[i].lpDisplayName = std::strcpy(text, display.c_str());
        text += display.size() + 1;
        entries[i].ServiceStatus.dwCurrentState = SERVICE_RUNNING;
    }
    *entriesReturned = static_cast<DWORD>(script.activeDependents.size());
    return TRUE;
}

BOOL ScriptedServiceManager::CloseServiceHandle(SC_HANDLE handle)
{
    calls_.push_back("close " + NameOf(handle));
    const auto found = handles_.find(handle);
    if (found == handles_.end())
        return FALSE;
    ++found->second.closes;
    return TRUE;
}

void ScriptedServiceManager::Sleep(DWORD milliseconds)
{
    calls_.push_back("sleep " + std::to_string(milliseconds));
    tick_ += milliseconds;
}

DWORD ScriptedServiceManager::GetTickCount()
{
    calls_.push_back("tick");
    return tick_;
}

void* ScriptedServiceManager::AllocateZeroed(DWORD bytes)
{
    calls_.push_back("alloc " + std::to_string(bytes));
    if (allocationFails) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
    blocks_[block] = 0;
    return block;
}

void ScriptedServiceManager::FreeBlock(void* block)
{
    calls_.push_back("free");
    const auto found = blocks_.find(block);
    if (found == blocks_.end()) {
        ADD_FAILURE() << "a block freed that was not handed out";
        return;
    }
    if (found->second++ == 0)
        HeapFree(GetProcessHeap(), 0, block);
}

} // namespace zeltest
