#pragma once

#include "support/TestEnvironment.h"

#include <map>
#include <string>
#include <vector>

// What a complete installation looks like, for the tests that make one.
namespace installation_checks {

// The package names in the order the run fetches them: a name that stands
// twice is fetched once.
std::vector<std::string> FirstOccurrences();
std::vector<std::string> ImageNames();
// Package files, then images: the requests of a run on a clean machine.
std::vector<std::string> CleanRunRequests();

// Every package file (renamed where due) and image equals what the server holds.
void ExpectInstalledFilesMatchTheServer();
// Nothing in the install folder but the package files, the support folders
// and the images: no pending files.
void ExpectNothingElseInstalled();

// Every package entry (renamed where due) and every image is there.
bool InstallationIsComplete();
// Every file under the install folder is one the server holds, byte for
// byte (or, for the names in `servedAs`, those bytes): no pending file, no
// partial file, no error page. Missing files are allowed.
void ExpectOnlyCompleteFiles(const std::map<std::wstring, std::string>& servedAs = {});

// The link the run writes on the user's desktop.
std::wstring DesktopLink();

int CountEvents(const std::vector<testing_env::TStandInEvent>& events, std::wstring_view role, std::wstring_view event);
// The stand-ins record themselves a moment after they start.
std::vector<testing_env::TStandInEvent> WaitForStandInEvents(size_t expected);

// Ends stand-ins left running and removes C:\Brenvalt and the desktop link.
void RemoveInstallation();
// A machine as before any run: no installation, no faults or log on the
// vendor server, an empty stand-in log.
void StartClean();

} // namespace installation_checks
