// Adds a PEM certificate to the machine's trusted roots, as an administrator
// would for a company CA. Used for the test CA of the HTTPS vendor servers.
//
//   TrustCertificate.exe CA.pem
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    FILE* file = _wfopen(argv[1], L"rb");
    if (!file) {
        std::fwprintf(stderr, L"cannot read %ls\n", argv[1]);
        return 1;
    }
    std::string pem;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        pem.append(buffer, got);
    std::fclose(file);

    DWORD length = 0;
    if (!::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, nullptr, &length, nullptr, nullptr))
        return 1;
    std::string der(length, '\0');
    ::CryptStringToBinaryA(pem.c_str(), 0, CRYPT_STRING_BASE64HEADER, reinterpret_cast<BYTE*>(der.data()), &length, nullptr, nullptr);

    HCERTSTORE roots = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!roots)
        return 1;
    BOOL added = ::CertAddEncodedCertificateToStore(roots, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), length,
                                                    CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    ::CertCloseStore(roots, 0);
    return added ? 0 : 1;
}
