#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <vector>

#include "state/world.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QScreen;
class QScrollBar;
class QTimer;

namespace morvane {

class BoardWidget;
class frmMutaciones;
class Inspector;
class MouseButton;
class ResultsTable;
class Rng;
class Session;

// The world window: the board, the run, the neighbourhood inspector and the results table of the
// application's one world. It changes the world only through the engine and shows what the engine
// leaves behind.
class frmPartidas : public QMainWindow {
    Q_OBJECT
  public:
    explicit frmPartidas(QWidget* parent = nullptr);
    ~frmPartidas() override;

    bool running() const;

    // Sizes and places the window inside the available part of `screen`: large enough to show
    // the whole board when the screen allows, else as large as the screen allows. A size and
    // place remembered from an earlier window is taken instead when it is on a screen of this
    // session and shows the whole start-up board.
    void placeOnScreen(QScreen* screen);

    // ---- run
    MouseButton* cmdEmpezarJuego = nullptr;
    QTimer* tmrCheca = nullptr;
    MouseButton* cmdNuevo = nullptr;
    QLabel* lblIterations = nullptr;
    QScrollBar* hsbIter = nullptr;
    QLineEdit* txtIter = nullptr;
    QLabel* lblGeneracion = nullptr;
    QLabel* lblTimer = nullptr;
    // ---- settings beside the board
    std::array<QCheckBox*, 3> chkSen{};
    QCheckBox* chkPartirTarta = nullptr;
    QGroupBox* frmUmbrales = nullptr;
    QLabel* lblVida = nullptr;
    QLabel* lblReproduccion = nullptr;
    QLabel* lblVivirHoy = nullptr;
    QPushButton* cmdPagos = nullptr;
    QPushButton* cmdTiposVecindario = nullptr;
    QPushButton* cmdCoopGlob = nullptr;
    MouseButton* cmdSelTodo = nullptr;
    // ---- views
    QScrollArea* scrTablero = nullptr;
    BoardWidget* fxgTablero = nullptr;
    Inspector* fraVecindario = nullptr;
    ResultsTable* fxgResultados = nullptr;
    // ---- menus
    QMenu* mnuArchivo = nullptr;
    QAction* mnuAbrir = nullptr;
    QAction* mnuGuardar = nullptr;
    QAction* mnuGuardarComo = nullptr;
    QMenu* mnuOpciones = nullptr;
    std::array<QAction*, 10> mnuOpcion{};
    QMenu* mnuReglas = nullptr;
    std::array<QAction*, 4> mnuRegla{};
    QMenu* mnuSumaPagos = nullptr;
    std::array<QAction*, 3> mnuSuma{};
    QMenu* viewMenu = nullptr;
    QAction* mnuVerMutaciones = nullptr;
    QAction* mnuSoloSelec = nullptr;
    QAction* transitionsAction = nullptr;  // the inspector's Shift-press on the previous genome
    // The results table's rival presses on its current row: left and right button.
    QAction* detailsLeftAction = nullptr;
    QAction* detailsRightAction = nullptr;
    QAction* indexSwitchAction = nullptr;      // "Ci R" / "Sc R" of the results table
    QAction* dispositionMoveAction = nullptr;  // "Disp" / "Mov" of the results table
    QAction* readableTextAction = nullptr;     // numbers in black or white on strategy colours
    QAction* sharesAction = nullptr;           // "Strategy shares"
    QAction* mnuPagos = nullptr;
    // Keyboard and menu twins of what the mouse buttons do.
    QMenu* runMenu = nullptr;
    QAction* runAction = nullptr;             // run / pause
    QAction* stepAction = nullptr;            // one generation
    QAction* newRandomAction = nullptr;       // "New", left button
    QAction* newDistributedAction = nullptr;  // "New", right button
    QAction* newEmptyAction = nullptr;        // "New", middle button
    QAction* pickUpAction = nullptr;          // pick up the current cell
    QAction* putDownAction = nullptr;         // put down on the selection
    QAction* fillAction = nullptr;            // "Fill"

  public slots:
    void pause();
    // The run button, by mouse button: 1 left, 2 right, 4 middle.
    void runButtonPressed(int button);
    // "New", by mouse button: 1 at random, 2 by the distribution, any other fills nothing.
    void newWorldPressed(int button);
    void DibujarMapa(bool soloSeleccion);
    // The open mutations view, or none.
    frmMutaciones* openMutationsView() const;
    void guardarComo();
    void guardar();

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;

  private:
    World& world();
    Rng& rng();

    void buildControls();
    void buildLayout();
    void buildMenus();
    void buildRunMenu();
    void connectControls();
    void syncMenus();
    void setRunning(bool on);

    void load();
    void prepare();
    void tick();
    void playGeneration();
    void showGeneration();

    void inspect(int cell);
    bool neighbourhoodsShown();
    void showNeighbourhood(bool keepRows);
    void mostrarPartidas(int cell);
    void showLiveRows();
    void refreshIndexHeaders();
    void cambiarIndice();
    void refreshThresholds();

    void pickUp(int cell);
    void putDown(const QList<int>& cells, bool skipBlank);

    // Tells the other windows the genomes changed, without answering our own news.
    void announceGenomes();

    void showPagos();
    void showTiposVecindario();
    // The mutations view, made on first use, shown without taking the focus from the run.
    frmMutaciones* mutationsView();
    void setMutationsTicked(bool on);
    void showTransitions(int cell);
    void explainRivalRow(int row, int button);

    // An edit of a setting the scenario file keeps marks the world changed.
    void settingEdited();
    void updateTitle();
    void applyReadableText(bool on);
    // What the iterations box holds goes to the world when it is a whole number 1..10; anything
    // else is refused where the user sees it.
    void takeIterations();

    QSize sizeShowingBoard(QSize board);
    bool placeRemembered();
    void rememberPlace();

    Session& session_;
    QPointer<frmMutaciones> mutations_;
    QElapsedTimer clock_;
    bool inGeneration_ = false;  // a tick never re-enters a generation
    bool announcing_ = false;
    bool loading_ = false;  // the controls follow the world; nothing is edited
};

}  // namespace morvane
