/** @file The frame window: the MDI area, start-up work and the hand-off receiver. */
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>
#include <vector>

#include "HandOff.h"
#include "OptionData.h"
#include "SettingsStore.h"

class QMdiArea;
class QSocketNotifier;

namespace tw {

class TTarnwickEditor : public QMainWindow {
    Q_OBJECT
  public:
    TTarnwickEditor(InstancePaths paths, std::vector<std::string> commandLineFiles);
    ~TTarnwickEditor() override;

    /// Opens a file as a document window, or brings it to the front when it
    /// is open already.
    void OpenFile(const std::string& fileName, bool isNew);

    QMdiArea* MdiArea() const { return mdi_; }
    const OptionData& Options() const { return options_; }
    const std::vector<std::string>& CommandLineFiles() const { return commandLineFiles_; }
    /// The number the next new text is named with.
    int NoNameCount() const { return noNameCount_; }
    /// Ctrl+S: writes the active document to its file.
    void SaveActive();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Start-up work, in the order the frame performs it when first shown.
    void FormShow();
    void AcceptDroppedFiles();
    void LoadSettings();
    void PublishHandOffRecord();
    void PlaceFrame();
    void LoadKeyboardCommands();
    void LoadClipboardHistory();
    void BuildReadHistoryMenu();
    void ShowToolBars();
    void DisableDocumentCommands();
    void OpenCommandLineFiles();
    void CreateBlankDocument();

    /// A file name handed over by a second start of the program.
    void WMCopyData(const std::string& fileName);
    /// Writes "Option.dat" and "Clip.dat" as the frame closes.
    void SaveSettings();
    /// A maximised document's caption joins the frame's, as MDI frames do.
    void UpdateCaption();

    QMdiArea* mdi_;
    HandOffHost handOff_;
    QSocketNotifier* handOffNotifier_ = nullptr;
    std::vector<std::string> commandLineFiles_;
    bool shown_ = false;
    std::string programFolder_;
    OptionData options_;
    ClipHistory clipHistory_;
    int noNameCount_ = 0;
};

}  // namespace tw
