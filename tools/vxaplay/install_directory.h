#pragma once
// The browser's installation folder in the registry, where the plug-in
// looks for it: HKCU\Software\Netscape\Netscape Navigator\Main, value
// "Install Directory". Set for the run and put back as it was afterwards.
#include <string>

class InstallDirectory {
public:
    explicit InstallDirectory(const std::string& folder);
    ~InstallDirectory();
    InstallDirectory(const InstallDirectory&) = delete;
    InstallDirectory& operator=(const InstallDirectory&) = delete;

    bool set() const { return set_; }

private:
    bool set_ = false;
    bool hadValue_ = false;
    std::string previous_;
};
