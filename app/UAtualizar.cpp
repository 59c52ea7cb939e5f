#include "app/UAtualizar.h"

#include "app/BuildSettings.h"
#include "app/Installation.h"
#include "app/ControlIds.h"
#include "app/ResourceIds.h"
#include "app/WindowDefinition.h"
#include "platform/Dpi.h"
#include "platform/Font.h"
#include "platform/Palette.h"

namespace def = app::definition;
namespace id = app::control_id;

namespace {

RECT BoundsFor(const def::TBounds& bounds, UINT dpi)
{
    return platform::ScaleRect(bounds.Left, bounds.Top, bounds.Width, bounds.Height, dpi);
}

platform::UniqueIcon LoadApplicationIcon(int size)
{
    return platform::UniqueIcon{static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON, size, size, LR_DEFAULTCOLOR))};
}

} // namespace

TFAtualizar::TFAtualizar(platform::TApplication& application)
    : TForm(application), DownloadBaseUrl(app::build::DownloadBaseUrl())
{
    DownloadOptions.StallBound = app::build::NetworkStallBound();
    logo_ = platform::TImage::FromResource(IDR_LOGO);
    for (size_t i = 0; i < featureIcons_.size(); ++i)
        featureIcons_[i] = platform::TImage::FromResource(IDR_FEATURE1 + static_cast<int>(i));
    headerBackground_ = platform::TImage::FromResource(IDR_HEADER);
    icon_ = LoadApplicationIcon(::GetSystemMetrics(SM_CXICON));
    smallIcon_ = LoadApplicationIcon(::GetSystemMetrics(SM_CXSMICON));

    platform::TFormSettings settings{L"TFAtualizar", def::Caption, def::ClientSize, {def::MinWidth, def::HeldHeight},
                                     {0, def::HeldHeight}, platform::palette::Page, icon_.get(), smallIcon_.get()};
    CreateForm(settings);
    CreateFonts();
    CreateControls();
    FormCreate();
}

void TFAtualizar::CreateFonts()
{
    const std::array<platform::TFontSpec, FontCount> faces{def::FormFont,    def::StatusFont,  def::HeaderTitleFont,
                                                           def::InstallationTitleFont, def::WelcomeFont, def::VersionFont,
                                                           def::FeatureFont, def::LinkFont};
    for (size_t i = 0; i < faces.size(); ++i)
        fonts_[i] = platform::CreateFontForDpi(faces[i], Dpi());
}

void TFAtualizar::CreateControls()
{
    namespace welcome = def::welcome_page;
    namespace page = def::installation_page;
    const UINT dpi = Dpi();
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[FormFont].get()), FALSE);

    platform::TWizardSettings wizard{def::wizard::Back, def::wizard::Next, def::wizard::Finish, def::wizard::Cancel,
                                     def::wizard::Help, /*finishEnabled*/ false, /*cancelVisible*/ false,
                                     /*helpVisible*/ false, def::wizard::VendorAddress, &headerBackground_};
    WizardControl.Create(Handle(), wizard, dpi);
    WizardControl.OnButtonClick = [this](platform::TWizardButtonKind kind, bool& handled) {
        WizardControlButtonClick(WizardControl, kind, handled);
    };
    for (int kind = 0; kind < 5; ++kind) {
        WizardControl.Button(static_cast<platform::TWizardButtonKind>(kind)).SetId(id::WizardButtonBase + kind);
        fontOf_.emplace_back(&WizardControl.Button(static_cast<platform::TWizardButtonKind>(kind)), FormFont);
    }
    WizardControl.InfoLink().SetId(id::InfoLink);
    fontOf_.emplace_back(&WizardControl.InfoLink(), LinkFont);

    ControlPage0.Create(WizardControl, welcome::HeaderTitle, fonts_[WelcomeTitle].get());
    HWND first = ControlPage0.Handle();
    Image1.Create(first, BoundsFor(welcome::Image1, dpi), logo_, platform::TPicture::TFit::Proportional, L"Lumivar");
    Image1.SetId(id::Image1);
    Label2.Create(first, BoundsFor(welcome::Label2, dpi), welcome::Label2Text);
    Label2.SetId(id::Label2);
    fontOf_.emplace_back(&Label2, WelcomeFont);
    Label3.Create(first, BoundsFor(welcome::Label3, dpi), welcome::Label3Text);
    Label3.SetId(id::Label3);
    fontOf_.emplace_back(&Label3, VersionFont);
    Bevel1.Create(first, BoundsFor(welcome::Bevel1, dpi));
    Bevel1.SetId(id::Bevel1);
    for (size_t i = 0; i < welcome::Features.size(); ++i) {
        const welcome::TFeature& feature = welcome::Features[i];
        const auto fit = feature.Stretch ? platform::TPicture::TFit::Stretch : platform::TPicture::TFit::Proportional;
        FeatureImages[i].Create(first, BoundsFor(feature.Image, dpi), featureIcons_[i], fit, feature.Caption);
        FeatureImages[i].SetId(id::FirstFeatureImage + static_cast<int>(i));
        const RECT at = BoundsFor({feature.Label.x, feature.Label.y, 1, 1}, dpi);
        FeatureLabels[i].Create(first, at, feature.Caption);
        FeatureLabels[i].SetId(id::FirstFeatureLabel + static_cast<int>(i));
        fontOf_.emplace_back(&FeatureLabels[i], FeatureFont);
    }

    // Created in tab order: ProgressBar1, ProgressBar2, ListBox, cxButton1.
    ControlPage2.Create(WizardControl, page::HeaderTitle, fonts_[InstallationTitle].get());
    HWND second = ControlPage2.Handle();
    Label1.Create(second, BoundsFor(page::Label1, dpi), page::Label1Text);
    lblDescStatus.Create(second, BoundsFor(page::lblDescStatus, dpi), page::Waiting);
    Label6.Create(second, BoundsFor(page::Label6, dpi), page::Waiting);
    ProgressBar1.Create(second, BoundsFor(page::ProgressBar1, dpi));
    ProgressBar2.Create(second, BoundsFor(page::ProgressBar2, dpi));
    ListBox.Create(second, BoundsFor(page::ListBox, dpi), platform::Scale(page::ListBoxItemHeight, dpi));
    for (std::wstring_view item : def::PackageFiles)
        ListBox.AddItem(item);
    cxButton1.Create(second, BoundsFor(page::cxButton1, dpi), page::cxButton1Text, platform::palette::AccentButton);
    cxButton1.OnClick = [this] { cxButton1Click(); };

    const std::pair<platform::TControl*, int> ids[] = {{&Label1, id::Label1},
                                                       {&lblDescStatus, id::lblDescStatus},
                                                       {&Label6, id::Label6},
                                                       {&ProgressBar1, id::ProgressBar1},
                                                       {&ProgressBar2, id::ProgressBar2},
                                                       {&ListBox, id::ListBox},
                                                       {&cxButton1, id::cxButton1}};
    for (auto [control, controlId] : ids)
        control->SetId(controlId);
    for (platform::TLabel* label : {&Label1, &lblDescStatus, &Label6})
        fontOf_.emplace_back(label, StatusFont);
    fontOf_.emplace_back(&ListBox, FormFont);
    fontOf_.emplace_back(&cxButton1, FormFont);
    for (auto [control, role] : fontOf_)
        control->SetFont(fonts_[role].get());
}

// Positions in 96-DPI units, as designed, scaled to the window's DPI.
void TFAtualizar::ApplyLayout()
{
    namespace welcome = def::welcome_page;
    namespace page = def::installation_page;
    const UINT dpi = Dpi();
    Image1.SetBounds(BoundsFor(welcome::Image1, dpi));
    Label2.SetBounds(BoundsFor(welcome::Label2, dpi));
    Label3.SetBounds(BoundsFor(welcome::Label3, dpi));
    Bevel1.SetBounds(BoundsFor(welcome::Bevel1, dpi));
    for (size_t i = 0; i < welcome::Features.size(); ++i) {
        FeatureImages[i].SetBounds(BoundsFor(welcome::Features[i].Image, dpi));
        FeatureLabels[i].SetBounds(BoundsFor({welcome::Features[i].Label.x, welcome::Features[i].Label.y, 1, 1}, dpi));
    }
    Label1.SetBounds(BoundsFor(page::Label1, dpi));
    lblDescStatus.SetBounds(BoundsFor(page::lblDescStatus, dpi));
    Label6.SetBounds(BoundsFor(page::Label6, dpi));
    ProgressBar1.SetBounds(BoundsFor(page::ProgressBar1, dpi));
    ProgressBar2.SetBounds(BoundsFor(page::ProgressBar2, dpi));
    ListBox.SetBounds(BoundsFor(page::ListBox, dpi));
    cxButton1.SetBounds(BoundsFor(page::cxButton1, dpi));
    ControlPage0.SetTitleFont(fonts_[WelcomeTitle].get());
    ControlPage2.SetTitleFont(fonts_[InstallationTitle].get());
    for (auto [control, role] : fontOf_)
        control->SetFont(fonts_[role].get());
    WizardControl.SetDpi(dpi);
}

void TFAtualizar::DpiChanged(UINT dpi, const RECT& suggested)
{
    SetDpi(dpi);
    CreateFonts();
    ::SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyLayout();
}

void TFAtualizar::FormCreate()
{
    TransferrignData = false;
    AbortTransfer = false;
    lblDescStatus.SetText(L"");
}

// Brings the application to the front: its last active window (this one, or
// a message box open over it), if visible and enabled; a minimised window
// stays as it is.
void TFAtualizar::WMUser()
{
    if (::IsIconic(Handle()))
        return;
    HWND target = ::GetLastActivePopup(Handle());
    if (!target)
        target = Handle();
    if (::IsWindowVisible(target) && ::IsWindowEnabled(target))
        ::SetForegroundWindow(target);
}

void TFAtualizar::WizardControlButtonClick(platform::TWizard& sender, platform::TWizardButtonKind kind, bool&)
{
    if (sender.ActivePage() == &ControlPage0 && kind == platform::TWizardButtonKind::Cancel)
        Close();
    if (sender.ActivePage() == &ControlPage2) {
        if (kind == platform::TWizardButtonKind::Cancel) {
            CancelTransferAndClose();
        } else if (kind == platform::TWizardButtonKind::Finish) {
            ShowMessage(app::installation::messages::NotCompleted);
            Close();
        }
    }
}

void TFAtualizar::CancelTransferAndClose()
{
    if (TransferrignData) {
        AbortTransfer = true;
        Application().ProcessMessages();
    }
    Close();
}

bool TFAtualizar::DownloadFile(std::wstring_view url, std::wstring_view fileName, platform::TProgressBar& bar)
{
    return download::DownloadFile(*this, url, fileName, bar, DownloadOptions);
}

void TFAtualizar::ShowMessage(std::wstring_view text)
{
    if (!closeRequested_)
        Application().ShowMessage(text);
}

bool TFAtualizar::PreTranslateMessage(MSG& message)
{
    if (message.hwnd != Handle() && !::IsChild(Handle(), message.hwnd))
        return false;
    return WizardControl.HandleNavigationKey(message);
}

LRESULT TFAtualizar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_USER:
        // IsDialogMessage sends DM_GETDEFID, which has the same number, when
        // Enter is pressed; only a WM_USER from outside brings us forward.
        if (!Application().InDialogNavigation())
            WMUser();
        return 0;
    case WM_SIZE:
        if (WizardControl.IsAlive())
            ::SetWindowPos(WizardControl.Handle(), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case WM_DPICHANGED:
        DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return TForm::WndProc(message, wParam, lParam);
    }
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
    CloseOpenMessages();
    return false;
}

// A message the run is waiting on would hold the close up until answered.
void TFAtualizar::CloseOpenMessages()
{
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM self) -> BOOL {
            wchar_t className[16] = {};
            ::GetClassNameW(window, className, 16);
            if (std::wstring_view(className) == L"#32770" && ::GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(self))
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(Handle()));
}
