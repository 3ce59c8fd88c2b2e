#pragma once
// The base of the widget tests that drive the program's own frame: both views registered as the program does,
// recording services, scripted pickers and the one live settings owner over them, in a temporary folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/CApp.h"
#include "app/CAppDoc.h"
#include "app/CMainFrame.h"
#include "support/RecordingServices.h"
#include "support/ScriptedPickers.h"
#include "support/TestFiles.h"
#include "ui/AppSettings.h"

namespace pixmond::test {

class FrameTest : public ::testing::Test {
protected:
    FrameTest() { doc_.OnNewDocument(); }

    // Makes the frame (the folder browser starting in `folder`, empty for the stored one), 1000 x 760 on show,
    // switched to the view of `mode`; returns that view as View (null when it is another kind).
    template <class View>
    View* ShowFrame(int mode, const std::string& folder = {}) {
        frame_ = std::make_unique<CMainFrame>(ViewContext{services_.Get(), settings_, pickers_}, doc_);
        RegisterViews(*frame_, folder);
        frame_->resize(1000, 760);
        frame_->SwitchView(mode);
        frame_->show();
        return dynamic_cast<View*>(frame_->ActiveView());
    }

    TempDir dir_;
    RecordingServices services_;
    AppSettings settings_{services_.settings};
    ScriptedPickers pickers_;
    CAppDoc doc_{settings_};
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace pixmond::test
