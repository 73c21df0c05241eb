// The options dialog, how its settings reach the open windows, and the about box.

#include "app/AboutBox.h"
#include "app/FrameWindow.h"
#include "app/TabStrip.h"
#include "dialogs/OptionDialog.h"
#include "documents/DocumentWindow.h"
#include "platform/MessageBox.h"
#include "settings/KeyTexts.h"

namespace tw {

void TTarnwickEditor::actOptionExecute() {
    // Made on first use: by then the frame's message box is the one it keeps.
    if (!option_) {
        option_ = new TOption(options_, keyTexts_, *messages_, this);
        option_->OnApplied = [this] { ApplyOptions(); };
        option_->OnCancelled = [this] { LoadKeyboardCommands(); };
        option_->SchemeFolder = programFolder_;
    }
    option_->exec();
}

void TTarnwickEditor::actAboutExecute() {
    if (!about_) about_ = new TAboutBox(this);
    about_->exec();
}

void TTarnwickEditor::ApplyOptions() {
    ApplyTabSettings();
    ShowToolBars();
    for (int i = 1; i <= DocumentCount(); ++i) {
        TMDIChild& child = *Document(i);
        // Line numbers are switched per window; the dialog does not own them.
        OptionData forWindow = options_;
        forWindow.ShowLineNumber = child.Edit().ShowLineNumber();
        ApplySettingsTo(child, forWindow);
        child.Backup().ApplyInterval();
    }
    ApplyKeyTexts();
    try {
        SaveKeyTexts(programFolder_, keyTexts_);
    } catch (const std::exception& e) {
        messages_->Show(e.what(), "Tarnwick Editor", MessageButtons::Ok, MessageIcon::Warning);
    }
}

}  // namespace tw
