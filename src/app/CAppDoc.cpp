#include "app/CAppDoc.h"

#include "ui/AppSettings.h"
#include "ui/Settings.h"

namespace pixmond {

CAppDoc::CAppDoc(Settings& store, AppSettings& settings) : store_(store), settings_(settings) {}

CAppDoc::~CAppDoc() {
    if (settingsLoaded_) SaveSettings();
}

void CAppDoc::OnNewDocument() {
    if (settingsLoaded_) return;
    settings_.Load(store_);
    recent_.Load(store_);
    settingsLoaded_ = true;
}

bool CAppDoc::SaveSettings() {
    settings_.Save(store_);
    recent_.Save(store_);
    return store_.Flush();
}

bool CAppDoc::OnOpenDocument(const std::string& path) {
    if (!opener_ || !opener_(path)) return false;
    recent_.Add(path);
    return true;
}

}  // namespace pixmond
