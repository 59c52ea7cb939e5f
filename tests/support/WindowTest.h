#pragma once

#include "app/UAtualizar.h"
#include "platform/Application.h"
#include "platform/MessageSink.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Records the messages the program would show, and answers them at once.
class TRecordingMessages : public platform::IMessageSink {
public:
    struct TShown {
        std::wstring caption;
        std::wstring text;
        platform::TMessageIcon icon;
    };

    void Show(HWND owner, std::wstring_view caption, std::wstring_view text, platform::TMessageIcon icon) override;

    std::vector<std::wstring> Texts() const;
    void Clear() { shown.clear(); }

    std::vector<TShown> shown;
    // Runs while a message is "open", as a person would act then.
    std::function<void(const TShown&)> onShow;
};

// The real installer window, not shown, with its messages recorded and the
// network bound shortened.
class WindowTest : public ::testing::Test {
protected:
    WindowTest();

    TRecordingMessages messages;
    platform::TApplication application{messages};
    std::unique_ptr<TFAtualizar> window;
};
