#pragma once

#include "mainwin/MainWindowLogic.h"

#include <QHash>
#include <QMainWindow>

#include <functional>

class QComboBox;
class QLabel;
class QMenu;
class QToolButton;

namespace velmor {

struct AppContext;
class GradientPanel;

// The main window: a toolbar strip across the top of the screen with the working-year combo
// `Anul` at its right end. Opens every other window, owns the working year and the close
// sequence. The algorithms live in MainWindowLogic; the windows it opens are given to it by the
// program entry, and those not built yet say so when asked for.
class TForm3 : public QMainWindow {
    Q_OBJECT
public:
    // The toolbar windows opened through the guarded opening.
    enum class Window { Evidente, Totaluri, Liste, Parcele };

    explicit TForm3(AppContext& ctx, QWidget* parent = nullptr);
    ~TForm3() override;

    MainWindowLogic& logic() { return m_logic; }

    QToolButton* ToolButton9() const { return m_toolButton9; }
    QToolButton* ToolButton7() const { return m_toolButton7; }
    QToolButton* ToolButton5() const { return m_toolButton5; }
    QToolButton* ToolButton6() const { return m_toolButton6; }
    QToolButton* ToolButton8() const { return m_toolButton8; }
    QToolButton* LegisB() const { return m_legisB; }
    QToolButton* ToolButton2() const { return m_toolButton2; }
    QToolButton* SavBut() const { return m_savBut; }
    QToolButton* ToolButton1() const { return m_toolButton1; }
    QComboBox* Anul() const { return m_anul; }
    QMenu* PopupMenu1() const { return m_popupMenu1; }
    QMenu* PopupMenu2() const { return m_popupMenu2; }
    QLabel* StatusText() const { return m_statusText; }

    // The working-year combo: cleared, filled with the distinct years of Identificare, the
    // calendar year appended when missing, the last item selected.
    void IncarcaAnii();

    // What the toolbar and the reports menu open. Without an opener, the window or report says
    // that this version does not have it.
    void setWindowOpener(Window window, std::function<void()> open);
    void setReport(const QString& itemName, std::function<void()> run);
    void setSaveWindow(std::function<void()> open) { m_openSave = std::move(open); }

    // Shows the main window after start-up; `closed` is emitted when it closes for good.
    void Deschide();
    // Ends the program without the close sequence (a window asked for it).
    void terminateProgram();
    bool terminated() const { return m_terminated; }

    // The position at which the reports menu pops up: left edge of its button, 85 pixels below
    // the top of the window.
    QPoint reportsMenuPosition() const;

    // Runs an action of the window: an error it raises is shown in the error box; a request to
    // end the program ends it.
    void runAction(const std::function<void()>& action);

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& caption, const QString& hint, const QIcon& icon);
    void buildMenus();
    void openToolbarWindow(Window window, QToolButton* button);
    void onEvidente();
    void onAdministrare();
    void onReport(const QString& itemName, const QString& caption);
    void applyUnlocked(bool unlocked);

    AppContext& m_ctx;
    MainWindowLogic m_logic;
    GradientPanel* m_strip = nullptr;
    QToolButton* m_toolButton9 = nullptr;
    QToolButton* m_toolButton7 = nullptr;
    QToolButton* m_toolButton5 = nullptr;
    QToolButton* m_toolButton6 = nullptr;
    QToolButton* m_toolButton8 = nullptr;
    QToolButton* m_legisB = nullptr;
    QToolButton* m_toolButton2 = nullptr;
    QToolButton* m_savBut = nullptr;
    QToolButton* m_toolButton1 = nullptr;
    QComboBox* m_anul = nullptr;
    QMenu* m_popupMenu1 = nullptr;
    QMenu* m_popupMenu2 = nullptr;
    QLabel* m_statusText = nullptr;

    QHash<int, std::function<void()>> m_windowOpeners;
    QHash<QString, std::function<void()>> m_reports;
    std::function<void()> m_openSave;
    bool m_terminated = false;
    bool m_inCloseSequence = false;
};

}
