#include "ui/frm_detalles.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/frm_fun_dibujadas.h"
#include "ui/readable_text.h"
#include "ui/session.h"

namespace morvane {

namespace {

constexpr int kColumns = 10;
constexpr std::array<int, kColumns> kColumnTwips = {1150, 850, 850, 1150, 1150,
                                                    1150, 850, 850, 0,    1150};
const std::array<const char*, kColumns> kHeaders = {
    "", "Rival", "Sub rival", "", "Dispositions", "Moves", "Coop R", "Equality R", "", "Pay Offs"};

QPointer<frmDetalles>& theWindow() {
    static QPointer<frmDetalles> window;
    return window;
}

QColor userColour(const std::array<std::uint8_t, 6>& k) {
    return QColor(k[0], k[1], k[2]);
}
QColor bugColour(const std::array<std::uint8_t, 6>& k) {
    return QColor(k[3], k[4], k[5]);
}

}  // namespace

// ---------------------------------------------------------------- model

void DetailsModel::setExplanation(const InteractionExplanation& e) {
    beginResetModel();
    explanation_ = e;
    endResetModel();
}

void DetailsModel::clear() {
    beginResetModel();
    explanation_.reset();
    endResetModel();
}

void DetailsModel::setIndexHeader(const QString& text, bool italic) {
    indexHeader_ = text;
    indexItalic_ = italic;
    emit headerDataChanged(Qt::Horizontal, 6, 6);
}

QString DetailsModel::text(int row, int column) const {
    if (!explanation_) return {};
    return QString::fromStdString(
        explanation_->rows[static_cast<std::size_t>(row)].text[static_cast<std::size_t>(column)]);
}

int DetailsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !explanation_ ? 0 : static_cast<int>(explanation_->rows.size());
}

int DetailsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant DetailsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !explanation_) return {};
    const DetailRow& r = explanation_->rows[static_cast<std::size_t>(index.row())];
    const int c = index.column();
    const bool red = r.red && c >= 4, used = r.used && (c == 6 || c == 7);
    switch (role) {
        case Qt::DisplayRole:
            return text(index.row(), c);
        case Qt::TextAlignmentRole:
            return QVariant(Qt::AlignCenter);
        case Qt::BackgroundRole:
            if (c == 1) return userColour(r.rivalColours);
            if (c == 2) return userColour(r.partnerColours);
            if (used) return usedColour();
            if (red) return redColour();
            return {};
        case Qt::ForegroundRole:
            if (c == 1) return bugColour(r.rivalColours);
            if (c == 2) return bugColour(r.partnerColours);
            if (used) return QColor(Qt::black);
            if (red) return QColor(Qt::white);
            return {};
        case Qt::FontRole: {
            if (!used && !(c == 6 && r.italic)) return {};
            QFont f = font_;
            f.setBold(used);
            f.setItalic(c == 6 && r.italic);
            return f;
        }
        default:
            return {};
    }
}

QVariant DetailsModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || section < 0 || section >= kColumns)
        return QAbstractTableModel::headerData(section, o, role);
    if (role == Qt::DisplayRole)
        return section == 6 ? indexHeader_ : QString::fromLatin1(kHeaders[section]);
    if (role == Qt::FontRole && section == 6) {
        QFont f = font_;
        f.setItalic(indexItalic_);
        return f;
    }
    return {};
}

// Nothing is selectable: a highlight would hide the red row and the yellow marks.
Qt::ItemFlags DetailsModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

// ---------------------------------------------------------------- window

frmDetalles::frmDetalles(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmDetalles"));
    setWindowTitle(tr("Interactions details"));
    auto label = [this](const char* name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto box = [this](const char* name) {
        auto* b = new QLineEdit(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setReadOnly(true);
        return b;
    };
    fraComoSeVe = new QGroupBox(this);
    lblComo = label("lblComo", tr("How the player"));
    lblNumSubRival = label("lblNumSubRival", {});
    lblValoro = label("lblValoro", tr("saw the moves of"));
    lblNumRival = label("lblNumRival", {});
    for (QLabel* n : {lblNumSubRival, lblNumRival}) {
        n->setAutoFillBackground(true);
        n->setMinimumWidth(48);
        n->setAlignment(Qt::AlignCenter);
        n->setCursor(Qt::PointingHandCursor);
        n->setToolTip(tr("Open the strategy this cell played with in the strategy editor"));
        n->installEventFilter(this);
    }
    auto* how = new QHBoxLayout(fraComoSeVe);
    for (QWidget* w : {static_cast<QWidget*>(lblComo), static_cast<QWidget*>(lblNumSubRival),
                       static_cast<QWidget*>(lblValoro), static_cast<QWidget*>(lblNumRival)})
        how->addWidget(w);
    how->addStretch(1);

    lblProf = label("lblProf", tr("Search type"));
    txtProf = box("txtProf");
    lblMediaIc = label("lblMediaIc", tr("Average Coop R"));
    txtMediaIc = box("txtMediaIc");
    lblMediaIa = label("lblMediaIa", tr("Average equality R"));
    txtMediaIa = box("txtMediaIa");
    lblEquidadReal = label("lblEquidadReal", tr("Actual equality"));
    txtEquidadReal = box("txtEquidadReal");
    lblEquidadEstimada = label("lblEquidadEstimada", tr("Estimated equality"));
    txtEquidadEstimada = box("txtEquidadEstimada");
    lblExitoReal = label("lblExitoReal", tr("Actual success"));
    txtExitoReal = box("txtExitoReal");
    lblExitoEstimado = label("lblExitoEstimado", tr("Estimated success"));
    txtExitoEstimado = box("txtExitoEstimado");
    frmFilaRoja = new QGroupBox(tr("R's current move"), this);
    frmFilaRoja->setObjectName(QStringLiteral("frmFilaRoja"));
    auto* swatch = new QLabel(frmFilaRoja);
    swatch->setAutoFillBackground(true);
    QPalette p = swatch->palette();
    p.setColor(QPalette::Window, DetailsModel::redColour());
    swatch->setPalette(p);
    swatch->setFixedHeight(14);
    (new QVBoxLayout(frmFilaRoja))->addWidget(swatch);
    txtExplicacion = new QPlainTextEdit(this);
    txtExplicacion->setObjectName(QStringLiteral("txtExplicacion"));
    txtExplicacion->setReadOnly(true);
    statusLabel = label("statusLabel", {});
    statusLabel->setWordWrap(true);

    fxgDetalles = new QTableView(this);
    fxgDetalles->setObjectName(QStringLiteral("fxgDetalles"));
    fxgDetalles->setModel(&model_);
    fxgDetalles->verticalHeader()->hide();
    fxgDetalles->setSelectionMode(QAbstractItemView::NoSelection);
    fxgDetalles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fxgDetalles->setFocusPolicy(Qt::NoFocus);  // no focus frame over the colours either
    fxgDetalles->horizontalHeader()->setMinimumSectionSize(0);
    QFont small = fxgDetalles->font();
    small.setPointSize(8);
    fxgDetalles->setFont(small);
    fxgDetalles->horizontalHeader()->setFont(small);
    model_.setFont(small);
    fxgDetalles->verticalHeader()->setDefaultSectionSize(QFontMetrics(small).height() + 4);
    // The grid's widths, in twips; width 0 hides column 8. A column too narrow for its header or
    // a record's text ("12 (2) -> 7 [1]") is widened to show it whole.
    const QFontMetrics metrics(small);
    for (int c = 0; c < kColumns; ++c) {
        int width = kColumnTwips[static_cast<std::size_t>(c)] * logicalDpiX() / 1440;
        if (width > 0) {
            width =
                std::max(width, metrics.horizontalAdvance(QString::fromLatin1(kHeaders[c])) + 12);
            if (c == 0 || c == 3)
                width = std::max(width, metrics.horizontalAdvance("999 (2) -> 999 [1]") + 12);
        }
        fxgDetalles->setColumnWidth(c, width);
        fxgDetalles->setColumnHidden(c, width == 0);
    }

    auto* values = new QGridLayout;
    const std::array<std::pair<QLabel*, QLineEdit*>, 7> pairs = {
        {{lblProf, txtProf},
         {lblMediaIc, txtMediaIc},
         {lblMediaIa, txtMediaIa},
         {lblEquidadReal, txtEquidadReal},
         {lblEquidadEstimada, txtEquidadEstimada},
         {lblExitoReal, txtExitoReal},
         {lblExitoEstimado, txtExitoEstimado}}};
    for (int i = 0; i < static_cast<int>(pairs.size()); ++i) {
        values->addWidget(pairs[static_cast<std::size_t>(i)].first, i, 0);
        values->addWidget(pairs[static_cast<std::size_t>(i)].second, i, 1);
    }
    auto* side = new QVBoxLayout;
    side->addWidget(fraComoSeVe);
    side->addLayout(values);
    side->addWidget(frmFilaRoja);
    side->addWidget(txtExplicacion, 1);
    auto* main = new QVBoxLayout;
    main->addWidget(statusLabel);
    main->addWidget(fxgDetalles, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(main, 3);
    layout->addLayout(side, 2);
    resize(1200, 700);

    // The records explained belong to one generation of one world.
    Session& s = Session::instance();
    connect(&s, &Session::generationDone, this, [this] {
        showNothing(tr("Generation %1 replaced the records explained; press a rival in the "
                       "results table to explain it")
                        .arg(Session::instance().world().Generacion));
    });
    connect(&s, &Session::genomesChanged, this, [this] {
        const int g = Session::instance().world().Generacion;
        showNothing(g == 0 ? tr("No generation played yet")
                           : tr("The world changed since generation %1; play a generation to "
                                "explain it again")
                                 .arg(g));
    });
    connect(&s, &Session::worldReplaced, this,
            [this] { showNothing(tr("No generation played yet")); });
}

frmDetalles* frmDetalles::open() {
    QPointer<frmDetalles>& window = theWindow();
    if (!window) {
        window = new frmDetalles;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    return window;
}

void frmDetalles::showNothing(const QString& why) {
    model_.clear();
    searcher_ = rival_ = 0;
    for (QLabel* n : {lblNumSubRival, lblNumRival}) n->clear();
    for (QLineEdit* b : {txtProf, txtMediaIc, txtMediaIa, txtEquidadReal, txtEquidadEstimada})
        b->clear();
    txtExplicacion->clear();
    // The italics belonged to the explanation; the labels themselves stay.
    for (QWidget* w : {static_cast<QWidget*>(lblMediaIc), static_cast<QWidget*>(txtMediaIc),
                       static_cast<QWidget*>(txtMediaIa)}) {
        QFont f = w->font();
        f.setItalic(false);
        w->setFont(f);
    }
    statusLabel->setText(why);
}

void frmDetalles::paintNumber(QLabel* label, int cell, const std::array<std::uint8_t, 6>& colours) {
    label->setText(QString::number(cell));
    QPalette p = label->palette();
    const QColor back = userColour(colours);
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::WindowText,
               textColourOn(back, bugColour(colours), Session::instance().readableText()));
    label->setPalette(p);
}

void frmDetalles::ExplicarPartida(int rival, int searcher, int current, bool cooperation,
                                  bool italic) {
    Session& s = Session::instance();
    const World& w = s.world();
    if (w.Generacion == 0) return showNothing(tr("No generation played yet"));
    if (s.worldChangedSinceGeneration())
        return showNothing(tr("The world changed since generation %1; play a generation to "
                              "explain it again")
                               .arg(w.Generacion));
    const InteractionExplanation e =
        morvane::ExplicarPartida(w, s.report(), rival, searcher, current, s.replayRng());
    if (!e.valid) return showNothing(tr("No such encounter in generation %1").arg(w.Generacion));
    setWindowTitle(tr("Interactions details - generation %1").arg(w.Generacion));
    lblMediaIc->setText(cooperation ? tr("Average Coop R") : tr("Average Success R"));
    QFont f = lblMediaIc->font();
    f.setItalic(italic);
    lblMediaIc->setFont(f);
    model_.setIndexHeader(cooperation ? tr("Coop R") : tr("Success R"), italic);
    model_.setExplanation(e);
    searcher_ = searcher, rival_ = rival;
    paintNumber(lblNumSubRival, searcher, e.searcherColours);
    paintNumber(lblNumRival, rival, e.rivalColours);
    txtProf->setText(QString::fromStdString(e.code));
    txtMediaIc->setText(QString::fromStdString(e.averageIc));
    txtMediaIa->setText(QString::fromStdString(e.averageIa));
    for (QLineEdit* b : {txtMediaIc, txtMediaIa}) {
        QFont bf = b->font();
        bf.setItalic(e.withoutData);
        b->setFont(bf);
    }
    txtEquidadEstimada->setText(QString::fromStdString(e.estimatedEquality));
    txtEquidadReal->setText(QString::fromStdString(e.actualEquality));
    txtExplicacion->setPlainText(QString::fromStdString(e.explanation));
    statusLabel->setText(QString::fromStdString(e.previewNote));
    fxgDetalles->verticalScrollBar()->setValue(e.topRow - 1);
}

// A number label opens the editor on the genome that played: the snapshot copy.
bool frmDetalles::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonPress) {
        const int cell = watched == lblNumSubRival ? searcher_
                         : watched == lblNumRival  ? rival_
                                                   : 0;
        if (cell >= 1 && cell <= Session::instance().world().NumJugadores) {
            frmFunDibujadas::FunCoop(0, cell, 0);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace morvane
