#pragma once

#include <array>
#include <string_view>

// What the installation run creates, fetches and says, in its order.
namespace app::installation {

inline constexpr std::wstring_view InstallDir = L"C:\\Brenvalt\\Lumivar";
inline constexpr std::wstring_view ImagesFolder = L"\\Imagens";
// The component installer's window, found by its exact title.
inline constexpr std::wstring_view ComponentInstallerTitle = L"C:\\Brenvalt\\Lumivar\\Instalar.exe";
inline constexpr std::wstring_view ComponentInstaller = L"\\Instalar.exe";
inline constexpr std::wstring_view Product = L"\\Lumivar.exe";
inline constexpr std::wstring_view ProductShortcutTarget = L"C:\\Brenvalt\\Lumivar\\Lumivar.exe";
inline constexpr std::wstring_view ProductShortcutName = L"Lumivar";

struct TRename {
    std::wstring_view Status;
    std::wstring_view Source;
    std::wstring_view Target;
};

inline constexpr std::array<TRename, 3> Renames{{
    {L"Renomeando arquivo \\Lumivar.ex_", L"\\Lumivar.ex_", L"\\Lumivar.exe"},
    {L"Renomeando arquivo \\Novelix5.ex_", L"\\Novelix5.ex_", L"\\Novelix5.exe"},
    {L"Renomeando arquivo \\Instalar.ex_", L"\\Instalar.ex_", L"\\Instalar.exe"},
}};

struct TSupportFolder {
    std::wstring_view Folder;
    std::wstring_view Status;
};

inline constexpr std::array<TSupportFolder, 7> SupportFolders{{
    {L"\\NFSE", L"Criando pasta NFSE"},
    {L"\\NFSE\\Esquemas", L"Criando pasta NFSE\\Esquemas"},
    {L"\\NFSE\\Log", L"Criando pasta NFSE\\Log"},
    {L"\\NFSE\\NFSE", L"Criando pasta NFSE\\NFSE"},
    {L"\\NFSE\\Scripts", L"Criando pasta NFSE\\Scripts"},
    {L"\\NFSE\\Templates", L"Criando pasta NFSE\\Templates"},
    {L"\\NFSE\\XmlImpressao", L"Criando pastaNFSE\\XmlImpressao"},
}};

inline constexpr std::array<std::wstring_view, 17> ImageFiles{
    L"001.jpg", L"008.jpg", L"033.jpg", L"041.jpg", L"104.jpg", L"237.jpg", L"275.jpg", L"341.jpg", L"353.jpg",
    L"356.jpg", L"399.jpg", L"409.jpg", L"748.jpg", L"a.gif",   L"b.gif",   L"c.gif",   L"d.gif",
};

namespace status {
inline constexpr std::wstring_view CreatingFolders = L"Criando diretórios";
inline constexpr std::wstring_view CheckingConnections = L"Verificando conexões...";
inline constexpr std::wstring_view Downloading = L"Realizando download";
inline constexpr std::wstring_view DownloadingFile = L"Efetuando download ";
inline constexpr std::wstring_view InstallingComponent = L"Instalando CobreBem \\Instalar.exe";
inline constexpr std::wstring_view CreatingImagesFolder = L"Criando pasta Imagens";
inline constexpr std::wstring_view DownloadingImage = L"Baixando arquivo ";
} // namespace status

namespace messages {
inline constexpr std::wstring_view CannotCreateInstallDir = L"Não foi possivel criar a pasta na unidade 'C:' para instalação!";
inline constexpr std::wstring_view Success = L"Instalação realizada com sucesso!";
inline constexpr std::wstring_view NotCompleted = L"A instalação NÃO foi concluida, deverá realizar novamente!";
} // namespace messages

} // namespace app::installation
