#pragma once

#include "platform/Font.h"

#include <array>
#include <string_view>

// The installer window as designed: positions and sizes at 96 DPI, texts,
// fonts, and the items of the hidden package list.
namespace app::definition {

struct TBounds {
    int Left, Top, Width, Height;
};

inline constexpr std::wstring_view Caption = L"Instalador do Lumivar";
inline constexpr SIZE ClientSize{684, 461};
inline constexpr int HeldHeight = 500;
inline constexpr int MinWidth = 700;
inline constexpr platform::TFontSpec FormFont{L"Tahoma", -11};
inline constexpr platform::TFontSpec StatusFont{L"Tahoma", -13};
inline constexpr platform::TFontSpec HeaderTitleFont{L"Tahoma", -13, FW_BOLD};
inline constexpr platform::TFontSpec InstallationTitleFont{L"Tahoma", -13};
inline constexpr platform::TFontSpec WelcomeFont{L"Microsoft Sans Serif", -27, FW_BOLD};
inline constexpr platform::TFontSpec VersionFont{L"Trebuchet MS", -29, FW_BOLD};
inline constexpr platform::TFontSpec FeatureFont{L"Tahoma", -11, FW_BOLD};
inline constexpr platform::TFontSpec LinkFont{L"Tahoma", -11, FW_NORMAL, ANSI_CHARSET, true};

namespace wizard {
inline constexpr std::wstring_view Back = L"&Voltar";
inline constexpr std::wstring_view Next = L"&Avançar";
inline constexpr std::wstring_view Finish = L"&Concluir";
inline constexpr std::wstring_view Cancel = L"&Cancelar";
inline constexpr std::wstring_view Help = L"Aj&uda";
inline constexpr std::wstring_view VendorAddress = L"https://www.brenvalt.com.br";
} // namespace wizard

namespace welcome_page {
inline constexpr std::wstring_view HeaderTitle = L" \r\nInstalador do sistema\r\n ";
inline constexpr TBounds Image1{74, 66, 421, 110};
inline constexpr TBounds Label2{159, 19, 314, 31};
inline constexpr std::wstring_view Label2Text = L"Bem vindo ao Instalador";
inline constexpr TBounds Label3{492, 112, 45, 37};
inline constexpr std::wstring_view Label3Text = L"5.0";
inline constexpr TBounds Bevel1{18, 246, 659, 10};

struct TFeature {
    TBounds Image;
    POINT Label;
    std::wstring_view Caption;
    bool Stretch; // centred and in proportion either way
};
inline constexpr std::array<TFeature, 5> Features{{
    {{18, 262, 64, 64}, {6, 325}, L"Adm de imóveis", false},
    {{144, 262, 64, 64}, {128, 325}, L"Gestão de vendas", false},
    {{279, 262, 64, 64}, {261, 325}, L"Gestão Financeira", true},
    {{431, 262, 64, 64}, {402, 325}, L"Bussines Analytics", false},
    {{562, 255, 64, 64}, {540, 325}, L"Relatórios Gerencias", true},
}};
} // namespace welcome_page

namespace installation_page {
inline constexpr std::wstring_view HeaderTitle = L"Instalação via internet";
inline constexpr TBounds Label1{34, 40, 487, 16};
inline constexpr std::wstring_view Label1Text =
    L"Para iniciar a instalação, clique no botão instalar e aguarde a conclusão do processo.";
inline constexpr TBounds lblDescStatus{40, 94, 81, 16};
inline constexpr TBounds Label6{40, 114, 81, 16};
inline constexpr std::wstring_view Waiting = L"Aguardando...";
inline constexpr TBounds ProgressBar1{40, 135, 563, 12};
inline constexpr TBounds ProgressBar2{40, 164, 563, 12};
inline constexpr TBounds cxButton1{224, 200, 161, 33};
inline constexpr std::wstring_view cxButton1Text = L"Iniciar Instalação...";
inline constexpr TBounds ListBox{40, 246, 233, 91};
inline constexpr int ListBoxItemHeight = 13;
} // namespace installation_page

inline constexpr std::array<std::wstring_view, 46> PackageFiles{
    L"adortl160.bpl",          L"bdertl160.bpl",
    L"cxDataRS16.bpl",         L"cxEditorsRS16.bpl",
    L"cxExportRS16.bpl",       L"cxGridRS16.bpl",
    L"cxLibraryRS16.bpl",      L"cxPageControlRS16.bpl",
    L"dbrtl160.bpl",           L"dsnap160.bpl",
    L"dxBarRS16.bpl",          L"dxCoreRS16.bpl",
    L"dxComnRS16.bpl",         L"dxCoreRS16.bpl",
    L"dxGDIPlusRS16.bpl",      L"dxPSCoreRS16.bpl",
    L"dxLayoutControlRS16.bpl", L"dxServerModeRS16.bpl",
    L"dxRibbonRS16.bpl",       L"dxThemeRS16.bpl",
    L"IndySystem160.bpl",      L"IndyProtocols160.bpl",
    L"IndyCore160.bpl",        L"vclactnband160.bpl",
    L"dxThemeRS16.bpl",        L"vcl160.bpl",
    L"rtl160.bpl",             L"vclimg160.bpl",
    L"vcldb160.bpl",           L"vclsmp160.bpl",
    L"vclx160.bpl",            L"xmlrtl160.bpl",
    L"dbxint30.dll",           L"libeay32.dll",
    L"dbxmys30.dll",           L"ssleay32.dll",
    L"nfseConfig.ini",         L"nfseLocais.ini",
    L"nfseServidoresHom.ini",  L"nfseServidoresProd.ini",
    L"Instalar.ex_",           L"Lumivar.ex_",
    L"AR.exe",                 L"CobreBemX.dll",
    L"midas.dll",              L"Novelix5.ex_",
};

} // namespace app::definition
