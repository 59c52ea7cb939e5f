#include "platform/Program.h"

#include "platform/BackgroundTask.h"
#include "platform/EventWait.h"
#include "platform/Text.h"

#include <atomic>
#include <memory>

namespace platform {

UINT StartProgram(TApplication& application, std::wstring_view commandLine)
{
    auto result = std::make_shared<std::atomic<UINT>>(0);
    TBackgroundTask task(application.Workers(), [command = ToAnsi(commandLine), result] { result->store(::WinExec(command.c_str(), SW_SHOWNORMAL)); });
    WaitProcessingEvents(application, task.Done(), std::chrono::milliseconds(100), [] { return true; });
    return result->load();
}

} // namespace platform
