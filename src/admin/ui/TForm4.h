#pragma once

#include "admin/Administration.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QStatusBar;

namespace velmor {

struct AppContext;
class TFTarife;

// The administration window "Administrare": three pages chosen from a list on the left
// ("GENERAL", "DATE DESPRE PRIMARIE", "Utilitare"). Holds the council constants and the village
// list for the whole run (other windows read them from here) and saves both when it closes.
//
// A change of the data path ends the program: programEndRequested() is emitted, the window
// closes, isProgramEndRequested() turns true and Deschide() throws data::ProgramTermination once
// the window is closed; the caller that owns the run ends it.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(AppContext& ctx, QWidget* parent = nullptr);

    // Start-up load: the main window's year list, Sate.lst, the seven constants, the unlock box
    // and the automatic-backup directory.
    void IncarcaConstante();
    // Shows the window modally. Throws data::ProgramTermination when the program must end.
    void Deschide();

    // The local tariffs window opened by "Tarife stabilite" (the program's one instance). Without
    // it the window makes its own.
    void setTarife(TFTarife* tarife) { m_tarife = tarife; }

    bool isProgramEndRequested() const { return m_endRequested; }

    // ---- what other windows read ----
    CouncilConstants Constante() const;
    QString ComunaText() const;
    QString JudetText() const;
    QString TipLocText() const; // "COMUNA", "ORASUL", "MUNICIPIUL" or empty
    // "comunei", "orasului", "municipiului"; empty when no type is selected.
    QString TipLocalitate() const;
    QStringList Sate() const;
    QString CaleSalvariText() const;

    // ---- controls ----
    QListWidget* PageList() const { return m_pageList; }
    QStackedWidget* Pages() const { return m_pages; }
    QLabel* DataPath() const { return m_dataPath; }
    QPushButton* SetCaleNet() const { return m_setCaleNet; }
    QLabel* CaleSalvari() const { return m_caleSalvari; }
    QPushButton* ConvexBtn6() const { return m_convexBtn6; }
    QPushButton* ConvexBtn5() const { return m_convexBtn5; }
    QLineEdit* Edit2() const { return m_edit2; }
    QLineEdit* Edit3() const { return m_edit3; }
    QPushButton* SchimbaParola() const { return m_schimbaParola; }
    QCheckBox* CheckBox1() const { return m_checkBox1; }
    QPushButton* ModelAdeverinta() const { return m_modelAdeverinta; }
    QPushButton* ModelRAgr2() const { return m_modelRAgr2; }
    QPushButton* ModeleRecensamant() const { return m_modeleRecensamant; }
    QPushButton* TarifeStabilite() const { return m_tarifeStabilite; }
    QLineEdit* NumePrimarie() const { return m_numePrimarie; }
    QComboBox* TipLoc() const { return m_tipLoc; }
    QLineEdit* Comuna() const { return m_comuna; }
    QLineEdit* PrimarI() const { return m_primar; }
    QLineEdit* SecretarI() const { return m_secretar; }
    QListWidget* ListaSate() const { return m_listaSate; }
    QLineEdit* InSat() const { return m_inSat; }
    QPushButton* SpeedButton1() const { return m_speedButton1; }
    QPushButton* SpeedButton2() const { return m_speedButton2; }
    QPushButton* SpeedButton3() const { return m_speedButton3; }
    QPushButton* MergeButton() const { return m_merge; }
    QPushButton* MissingPositionsButton() const { return m_missing; }
    QPushButton* CheckDataButton() const { return m_checkData; }
    QPlainTextEdit* Memo1() const { return m_memo1; }
    QPlainTextEdit* Memo2() const { return m_memo2; }
    QPushButton* SaveAndClose() const { return m_saveAndClose; }
    QStatusBar* statusBar() const { return m_status; }

public slots:
    void SetCaleLocalClick();
    void SetCaleNetClick();
    void ConvexBtn6Click();
    void ConvexBtn5Click();
    void SchimbaParolaClick();
    void CheckBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void Modifica1Click();
    void TarifeStabiliteClick();
    // "&Adauga o salvare KT": the merge of another register's backup, logged in Memo1.
    void ConvexBtn4Click();
    // "&Cauta pozitiile lipsa": the missing positions of the working year in Memo2.
    void CautaPozitiiLipsaClick();
    // "&Porneste Verificarea": the verification window.
    void PornesteVerificareaClick();
    void done(int result) override;

signals:
    void programEndRequested();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildGeneralPage();
    QWidget* buildCouncilPage();
    QWidget* buildUtilitiesPage();
    void setConstants(const CouncilConstants& constants);
    void setVillages(const QStringList& villages);
    int selectedVillage() const;
    void requestProgramEnd();
    // Runs a village command; an engine error is shown as the general error report.
    void runVillageCommand(const std::function<void(QStringList&)>& command);

    AppContext& m_ctx;
    TFTarife* m_tarife = nullptr;
    bool m_endRequested = false;

    QListWidget* m_pageList = nullptr;
    QStackedWidget* m_pages = nullptr;
    QLabel* m_dataPath = nullptr;
    QPushButton* m_setCaleLocal = nullptr;
    QPushButton* m_setCaleNet = nullptr;
    QLabel* m_caleSalvari = nullptr;
    QPushButton* m_convexBtn6 = nullptr;
    QPushButton* m_convexBtn5 = nullptr;
    QLineEdit* m_edit2 = nullptr;
    QLineEdit* m_edit3 = nullptr;
    QPushButton* m_schimbaParola = nullptr;
    QCheckBox* m_checkBox1 = nullptr;
    QPushButton* m_modelAdeverinta = nullptr;
    QPushButton* m_modelRAgr2 = nullptr;
    QPushButton* m_modeleRecensamant = nullptr;
    QPushButton* m_tarifeStabilite = nullptr;
    QLineEdit* m_numePrimarie = nullptr;
    QComboBox* m_tipLoc = nullptr;
    QLineEdit* m_comuna = nullptr;
    QLineEdit* m_codFiscal = nullptr;
    QLineEdit* m_judet = nullptr;
    QLineEdit* m_primar = nullptr;
    QLineEdit* m_secretar = nullptr;
    QListWidget* m_listaSate = nullptr;
    QLineEdit* m_inSat = nullptr;
    QPushButton* m_speedButton1 = nullptr;
    QPushButton* m_speedButton2 = nullptr;
    QPushButton* m_speedButton3 = nullptr;
    QMenu* m_listMenu = nullptr;
    QPushButton* m_merge = nullptr;
    QPushButton* m_missing = nullptr;
    QPushButton* m_checkData = nullptr;
    QPlainTextEdit* m_memo1 = nullptr;
    QPlainTextEdit* m_memo2 = nullptr;
    QPushButton* m_saveAndClose = nullptr;
    QStatusBar* m_status = nullptr;
};

}
