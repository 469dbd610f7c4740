// The "Install Java" dialog: install a runtime, pick an existing java.exe, or finish.
#pragma once
#include <string>

#include "framework/modal_dialog.h"

class LauncherSettings;

// "<name> will not run until ..." with OK and Cancel; true when the user answers OK (go on).
bool WarnWillNotRun(HWND owner);

class InstallJavaDialog : public ModalDialog {
public:
    InstallJavaDialog(HWND parent, LauncherSettings& settings);
    ~InstallJavaDialog() override;
    // The java.exe that Done recorded (or tried to); "" when it recorded none.
    const std::string& RecordedJavaExe() const { return m_recordedExe; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;  // Done

private:
    void OnInstallJavaNow();
    // No installer file beside the launcher: a current Java for this machine from the download
    // address, in the user's browser; else the address, or where to look.
    void OfferDownload(const std::string& missingInstaller);
    void ForgetChoice();
    void OnSelectExistingJava();

    HICON m_bigIcon;
    HICON m_smallIcon;
    LauncherSettings& m_settings;
    // The user's choice lives here until Done; an empty home means none stands.
    std::string m_javaHome;
    std::string m_javaExe;
    double m_javaVersion = 0.0;
    std::string m_recordedExe;
};
