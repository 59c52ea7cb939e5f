#include "app/UAtualizar.h"
#include "app/WindowDefinition.h"

#include "platform/Application.h"
#include "platform/Errors.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    platform::TApplication application;
    application.SetTitle(std::wstring(app::definition::Caption));
    try {
        TFAtualizar FAtualizar(application);
        application.SetMainForm(&FAtualizar);
        FAtualizar.Show();
        return application.Run();
    } catch (...) {
        application.HandleException(std::current_exception());
        return 1;
    }
}
