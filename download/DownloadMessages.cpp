#include "download/DownloadMessages.h"

#include "platform/Errors.h"

#include <wininet.h>

namespace download::messages {
namespace {

std::wstring Quoted(std::wstring_view file)
{
    return L"\"" + std::wstring(file) + L"\"";
}

std::wstring Seconds(std::chrono::milliseconds bound)
{
    auto seconds = std::chrono::ceil<std::chrono::seconds>(bound).count();
    return std::to_wstring(seconds) + (seconds == 1 ? L" segundo" : L" segundos");
}

} // namespace

std::wstring HttpStatus(std::wstring_view file, DWORD status)
{
    return L"O servidor respondeu com o código HTTP " + std::to_wstring(status) + L" ao baixar o arquivo " + Quoted(file) + L".";
}

std::wstring NoAnswer(std::wstring_view file, std::chrono::milliseconds bound)
{
    return L"O servidor não respondeu em " + Seconds(bound) + L" ao pedido do arquivo " + Quoted(file) + L".";
}

std::wstring Stalled(std::wstring_view file, std::chrono::milliseconds bound)
{
    return L"O servidor parou de enviar o arquivo " + Quoted(file) + L" por mais de " + Seconds(bound) + L".";
}

std::wstring TooManyRedirects(std::wstring_view file)
{
    return L"O servidor redirecionou o pedido do arquivo " + Quoted(file) + L" vezes demais.";
}

std::wstring ConnectionLost(std::wstring_view file, DWORD error)
{
    return L"A conexão com o servidor foi interrompida durante o download do arquivo " + Quoted(file) + L" (erro " +
           std::to_wstring(error) + L").";
}

std::wstring EndedEarly(std::wstring_view file, std::uint64_t received, std::uint32_t expected)
{
    return L"O download do arquivo " + Quoted(file) + L" terminou antes do fim: recebidos " + std::to_wstring(received) +
           L" de " + std::to_wstring(expected) + L" bytes.";
}

std::wstring TooLong(std::wstring_view file)
{
    return L"O servidor enviou mais dados do que o tamanho informado para o arquivo " + Quoted(file) + L".";
}

std::wstring BadLength(std::wstring_view file)
{
    return L"O servidor informou um tamanho inválido para o arquivo " + Quoted(file) + L".";
}

std::wstring WriteFailed(std::wstring_view file, DWORD error)
{
    return L"Não foi possível gravar o arquivo " + Quoted(file) + L": " + platform::SystemErrorText(error) + L".";
}

std::wstring InsecureServer(std::wstring_view file, DWORD error)
{
    const wchar_t* cause = L"o certificado do servidor não é confiável";
    if (error == ERROR_INTERNET_SEC_CERT_CN_INVALID)
        cause = L"o certificado apresentado é de outro servidor";
    else if (error == ERROR_INTERNET_SEC_CERT_DATE_INVALID)
        cause = L"o certificado do servidor está vencido ou ainda não é válido";
    else if (error == ERROR_INTERNET_SEC_CERT_REVOKED)
        cause = L"o certificado do servidor foi revogado";
    return L"Não foi possível estabelecer uma conexão segura com o servidor para baixar o arquivo " + Quoted(file) + L": " +
           cause + L" (erro " + std::to_wstring(error) + L").";
}

} // namespace download::messages
