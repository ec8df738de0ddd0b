#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QScrollBar>
#include <functional>

#include "ui/frm_about.h"
#include "world/dimensions.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace morvane {

// A vertical scroll bar that shows its largest value at the top: the upper arrow raises the
// number, the lower one lowers it. The number lives in number(); value() is its negative.
class UpwardBar : public QScrollBar {
    Q_OBJECT
  public:
    UpwardBar(const BarRange& range, QWidget* parent = nullptr);
    int number() const { return -value(); }
    // Sets the number without announcing it: the caller already knows.
    void setNumberQuietly(int n);

  signals:
    void numberChanged(int n);
};

// The preview of the entrepreneur layout: Rows x Cols white cells, the entrepreneurs in red.
class EntrepreneurPreview : public QWidget {
    Q_OBJECT
  public:
    explicit EntrepreneurPreview(QWidget* parent = nullptr);
    void setGrid(const EntrepreneurGrid& g);
    const EntrepreneurGrid& grid() const { return grid_; }
    QColor cellColour(int row, int column) const;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    EntrepreneurGrid grid_;
};

// The start-up window, "Main": it sets the program's defaults, sizes the world directly or by a
// layout of entrepreneurs, opens the pay-offs window and the about box, loads scenarios, and its
// "Start" makes a world and opens the world window. It owns the program: closing it closes every
// other window.
class frmPrincipal : public QMainWindow {
    Q_OBJECT
  public:
    // Makes the world window on the session's world, which has already been through
    // worldWindowLoad. frmPrincipal shows what it returns, keeps it, and deletes it before a later
    // "Start" or "Open" replaces the world (which pauses a running world for good).
    using WorldWindowFactory = std::function<QWidget*()>;

    explicit frmPrincipal(QWidget* parent = nullptr);
    ~frmPrincipal() override;

    void setWorldWindowFactory(WorldWindowFactory factory) {
        worldWindowFactory_ = std::move(factory);
    }
    QWidget* worldWindow() const { return worldWindow_; }

    // "Open" with the file already chosen: a file that cannot be read or is refused is reported in
    // an "Info" box with its line and reason, and the world stays as it was.
    bool openScenario(const QString& path);

    // World frame ("World").
    UpwardBar* vsbFilas;
    QLineEdit* txtFilas;
    UpwardBar* vsbColumnas;
    QLineEdit* txtColumnas;
    // Entrepreneur frame ("Empresarios").
    UpwardBar* vsbColEmp;
    QLineEdit* txtColEmp;
    UpwardBar* vsbDistCol;
    QLineEdit* txtDistCol;
    UpwardBar* vsbFilEmp;
    QLineEdit* txtFilEmp;
    UpwardBar* vsbDistFil;
    QLineEdit* txtDistFil;
    EntrepreneurPreview* fxgTablero;
    QLabel* lblTamano;  // the layout's size, as the window prints it beside the preview

    QPushButton* cmdVerPartidas;
    QPushButton* cmdRangos;

    QMenu* mnuArchivo;
    QAction* mnuAbrir;
    QAction* mnuGuardar;
    QAction* mnuGuardarComo;
    QMenu* mnuRecientes;  // the last five scenario files opened or saved
    QAction* mnuPagos;
    QAction* mnuEditorEstrategias;
    QAction* mnuAbout;

    frmAbout* aboutBox() const { return about_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildMenus();
    QWidget* buildWorldFrame();
    QWidget* buildEntrepreneurFrame();
    void entrepreneurChanged(EntrepreneurBar bar, int value);
    void showLayout();
    // The preview at the size the bars hold, the entrepreneurs laid out anew within it.
    void showPreview();
    // A number typed into a bar's box goes through the bar (and the fit check); anything else
    // is refused in the box.
    void connectTypedBox(QLineEdit* box, UpwardBar* bar, const BarRange& range);
    void fillRecentFiles();

    void cmdVerPartidas_Click();
    void mnuAbrir_Click();
    void mnuAbout_Click();

    void closeWorldWindow();
    void openWorldWindow();

    EntrepreneurLayout layout_;
    WorldWindowFactory worldWindowFactory_;
    QPointer<QWidget> worldWindow_;
    QPointer<frmAbout> about_;
};

}  // namespace morvane
