#include "app/CAppDoc.h"

#include "ui/AppSettings.h"
#include "ui/Settings.h"

namespace pixmond {

CAppDoc::CAppDoc(AppSettings& settings) : settings_(settings) {}

CAppDoc::~CAppDoc() {
    if (settingsLoaded_) SaveSettings();
}

void CAppDoc::OnNewDocument() {
    if (settingsLoaded_) return;
    recent_.Load(settings_.Store());
    settingsLoaded_ = true;
}

bool CAppDoc::SaveSettings() {
    settings_.WriteMissing();
    recent_.Save(settings_.Store());
    return settings_.Store().Flush();
}

bool CAppDoc::OnOpenDocument(const std::string& path) {
    if (!opener_ || !opener_(path)) return false;
    recent_.Add(path);
    return true;
}

}  // namespace pixmond
