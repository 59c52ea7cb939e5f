#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include <windows.h>

namespace download::messages {

inline constexpr std::wstring_view SessionFailed = L"Falha na inicialização de sessão da Internet.";
inline constexpr std::wstring_view CannotCreateLocalFile = L"Não foi possível criar o arquivo local.";
inline constexpr std::wstring_view UnnamedFile = L"Arquivo sem nome";
inline constexpr std::wstring_view GiveUp =
    L"Não foi possivel concluir a instalação, entre em contato com suporte e informe o problema.";

// Why one attempt failed; each names the file.
std::wstring HttpStatus(std::wstring_view file, DWORD status);
std::wstring NoAnswer(std::wstring_view file, std::chrono::milliseconds bound);
std::wstring Stalled(std::wstring_view file, std::chrono::milliseconds bound);
std::wstring TooManyRedirects(std::wstring_view file);
std::wstring ConnectionLost(std::wstring_view file, DWORD error);
std::wstring EndedEarly(std::wstring_view file, std::uint64_t received, std::uint32_t expected);
std::wstring TooLong(std::wstring_view file);
std::wstring BadLength(std::wstring_view file);
std::wstring WriteFailed(std::wstring_view file, DWORD error);
std::wstring InsecureServer(std::wstring_view file, DWORD error);

} // namespace download::messages
