#include "app/UAtualizar.h"

#include "app/BuildSettings.h"
#include "app/WindowDefinition.h"
#include "platform/Dpi.h"

namespace def = app::definition;

namespace {

RECT BoundsFor(const def::TBounds& bounds, UINT dpi)
{
    return platform::ScaleRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height, dpi);
}

} // namespace

TFAtualizar::TFAtualizar(platform::TApplication& application)
    : TForm(application), DownloadBaseUrl(app::build::DownloadBaseUrl())
{
    DownloadOptions.StallBound = app::build::NetworkStallBound();
    platform::TFormSettings settings{L"TFAtualizar", def::Caption, def::ClientSize, {def::MinWidth, def::HeldHeight},
                                     {0, def::HeldHeight}};
    CreateForm(settings);
    CreateControls();
    FormCreate();
}

void TFAtualizar::CreateControls()
{
    namespace page = def::installation_page;
    formFont_ = platform::CreateFontForDpi(def::FormFont, Dpi());
    statusFont_ = platform::CreateFontForDpi(def::StatusFont, Dpi());
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(formFont_.get()), FALSE);

    HWND parent = Handle();
    Label1.Create(parent, BoundsFor(page::Label1, Dpi()), page::Label1Text);
    lblDescStatus.Create(parent, BoundsFor(page::lblDescStatus, Dpi()), page::Waiting);
    Label6.Create(parent, BoundsFor(page::Label6, Dpi()), page::Waiting);
    for (platform::TLabel* label : {&Label1, &lblDescStatus, &Label6})
        label->SetFont(statusFont_.get());

    ProgressBar1.Create(parent, BoundsFor(page::ProgressBar1, Dpi()));
    ProgressBar2.Create(parent, BoundsFor(page::ProgressBar2, Dpi()));
    ListBox.Create(parent, BoundsFor(page::ListBox, Dpi()), Scale(page::ListBoxItemHeight));
    ListBox.SetFont(formFont_.get());
    for (std::wstring_view item : def::PackageFiles)
        ListBox.AddItem(item);
    cxButton1.Create(parent, BoundsFor(page::cxButton1, Dpi()), page::cxButton1Text);
    cxButton1.SetFont(formFont_.get());
    cxButton1.OnClick = [this] { cxButton1Click(); };
}

void TFAtualizar::FormCreate()
{
    TransferrignData = false;
    AbortTransfer = false;
    lblDescStatus.SetText(L"");
}

bool TFAtualizar::DownloadFile(std::wstring_view url, std::wstring_view fileName, platform::TProgressBar& bar)
{
    return download::DownloadFile(*this, url, fileName, bar, DownloadOptions);
}

LRESULT TFAtualizar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return TForm::WndProc(message, wParam, lParam);
}

// A close request while the run goes on stops the running download; the run
// then does no further step, and the window closes once it has unwound.
bool TFAtualizar::CloseQuery()
{
    if (!running_)
        return true;
    closeRequested_ = true;
    if (TransferrignData)
        AbortTransfer = true;
    return false;
}
