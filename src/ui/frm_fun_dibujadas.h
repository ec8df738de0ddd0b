#pragma once

#include <QMainWindow>
#include <array>
#include <vector>

#include "state/world.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace morvane {

class FunctionPicture;
class MouseButton;
class Session;

// The strategy editor, "Cooperation and coordination functions": shows slot 0 of the strategy list
// (the working copy), one part at a time, and lets every control edit its field at once. The
// working copy becomes the selected strategy (cell 0), a list entry, or paint on the world only
// when both parts' sensibilities add up to 100 as a cell holds them.
class frmFunDibujadas : public QMainWindow {
    Q_OBJECT
  public:
    // hsbCeroCien / txtCeroCien: 0 the fill probability, 1..3 sensibilities, 4..6 valuations,
    // 7..8 values without data, 9..11 trigger Min., Max. and response.
    static constexpr int kCeroCien = 12;

    explicit frmFunDibujadas(QWidget* parent = nullptr);

    // Opens the one editor (made on first use) on copy `copia` of `cell`: the genome goes into
    // slot 1 ("Del mapa!"), the combo is rebuilt from the list, item 0 is loaded into the working
    // copy and shown, part pestana - 1 when pestana is not 0, and the undo history starts afresh.
    static frmFunDibujadas* FunCoop(int copia, int cell, int pestana);
    // The open editor, or none.
    static frmFunDibujadas* current();

    int ParteActual() const { return parteActual_; }

    std::array<QRadioButton*, 2> optCaso{};
    FunctionPicture* pcbFuncion = nullptr;
    QLabel* curveFormula = nullptr;  // the cubic of the part shown, and f(x) under the mouse
    QCheckBox* chkVeruckt = nullptr;
    std::array<QCheckBox*, 3> chkLinea{};
    std::array<QScrollBar*, kCeroCien> hsbCeroCien{};
    std::array<QLineEdit*, kCeroCien> txtCeroCien{};
    QLineEdit* txtTotal = nullptr;
    QScrollBar* vsbTipoHistorial = nullptr;
    QScrollBar* vsbProf = nullptr;
    QScrollBar* vsbTipo = nullptr;  // the search type, 0..4, stored times 8
    QLineEdit* txtProf = nullptr;
    QCheckBox* chkCopia = nullptr;
    QScrollBar* vsbAquien = nullptr;
    QScrollBar* vsbCuando = nullptr;
    QLineEdit* txtAquienCuando = nullptr;
    std::array<QCheckBox*, 24> chkVecino{};
    std::array<QScrollBar*, 6> hsbColor{};
    std::array<QLineEdit*, 6> txtColor{};
    QComboBox* cmbEstrategias = nullptr;
    QLineEdit* txtNombre = nullptr;
    QPushButton* cmdAgregar = nullptr;
    QPushButton* replaceButton = nullptr;  // overwrites the chosen list entry
    QPushButton* cmdSeleccionar = nullptr;
    MouseButton* cmdLlenar = nullptr;
    QPushButton* cmdDistribuir = nullptr;
    QPushButton* cmdRangos = nullptr;
    QPushButton* cmdRestaurar = nullptr;
    QPushButton* cmdAceptar = nullptr;
    QMenu* mnuArchivo = nullptr;
    QAction* mnuAbrir = nullptr;
    QAction* mnuGuardarComo = nullptr;
    QAction* fillSelectedAction = nullptr;        // "Fill", left button
    QAction* fillByDistributionAction = nullptr;  // "Fill", any other button
    QAction* undoAction = nullptr;
    QAction* redoAction = nullptr;

    // ---- what the buttons and menus do
    bool select();
    void addToList();
    void replaceChosen();
    void fill(int button);
    void saveAs();
    void openFile();
    void undo();
    void redo();

  private:
    World& world();
    ListGenoma& working();
    ListGenomePart& part();

    QWidget* buildCurveColumn();
    QWidget* buildParameterColumn();
    QWidget* buildListColumn();
    void buildMenus();
    void addCeroCien(int i, const QString& caption, QWidget* parent, QGridLayout* grid, int row);

    // Showing writes nothing back: every handler does nothing while loading_ is set.
    void show0();
    void showTotal();
    void showSearch();
    void showTrigger();
    void showColours();
    void redraw();
    void rebuildCombo();
    void loadItem(int item);

    // One user edit of the working copy: one undo step when it changed anything.
    template <typename Change>
    void edit(Change change);
    void applyCeroCien(int i, int v);
    void boxLeft(QLineEdit* box);
    void picked(int x, int y);
    void showFormula(double hoverX);

    bool sumsRefused();
    void storeWorkingCopy();
    void clearHistory();
    void refreshHistoryActions();

    Session& session_;
    int parteActual_ = 0;
    bool loading_ = false;  // Cargando
    bool dragging_ = false;
    int lastMoved_ = 1;  // the point the arrow keys move: 0 (Y0), 1, 2, 3 (Y3)
    ListGenoma dragBefore_;
    std::vector<ListGenoma> undo_, redo_;
};

}  // namespace morvane
