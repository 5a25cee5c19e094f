// The program's one top-level window: its own title bar over the frameless frame, the page
// stack (device list, then one camera's libraries), the busy overlay and the exit guard.
#pragma once

#include <QString>

#include "fleet/fleetsettings.h"
#include "qshellframe.h"

class ExtractFaceDialog;
class InteractionWaitingWidget;
class JobControl;
class QAction;
class ReportListDialog;
class QMenu;

namespace Ui {
class MainWindow;
}

class MainWindow : public QShellFrame {
    Q_OBJECT
public:
    static constexpr int kTitleHeight = 60;

    MainWindow();
    ~MainWindow() override;

    // The one window, or nullptr while none exists.
    static MainWindow* instance();

public slots:
    void slotConfig(QString ip);
    void slotReturn(QString ip, bool changed);

protected:
    bool hitTopMenu(int x, int y) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private slots:
    void on_system__setting_clicked();
    void on_system__btn_min_clicked();
    void on_system__btn_max_clicked();
    void on_system__btn_max_normal_clicked();
    void on_system__btn_close_clicked();
    void slotPreprocessImage();
    void slotSideBySide(bool on);
    void slotFleetLimit();
    // The kept job reports, newest first.
    void slotJobReports();
    void slotHealthInterval();

private:
    void loadLogo();
    void buildSettingsMenu();
    void showFleetLimit();
    // The menu entry names the interval; the device page checks its cameras at it.
    void applyHealthInterval(int minutes);
    // Writes the settings file; says so when it cannot.
    void saveFleetSettings(const fleet::Settings& settings);
    void syncMaximizeButtons();

    Ui::MainWindow* ui;
    JobControl* ownJobs_ = nullptr;  // made here when the process had none
    InteractionWaitingWidget* overlay_;
    QMenu* settingsMenu_;
    QAction* sideBySide_ = nullptr;
    QAction* fleetLimit_ = nullptr;
    QAction* healthInterval_ = nullptr;
    ExtractFaceDialog* extractFace_ = nullptr;
    ReportListDialog* jobReports_ = nullptr;
    bool stopping_ = false;
};
