// The toolkit side of the widgets: QWidgets that paint the state of their
// model widget and route mouse events to its handlers.
//
// Routing rule: an event over a widget belongs to that widget alone. Every
// view accepts every mouse event, also when its model ignores it (a
// disabled command, a widget without handler), so that the toolkit never
// passes it up to a container: a click on a result label is never a click on
// the window, and a move over a disabled command does nothing at all.
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include "ui/qt/internal.h"

namespace ui {
namespace {

Mouse MouseOf(const QMouseEvent* e) {
  return Mouse{static_cast<float>(e->position().x() * kTwipsPerPixel),
               static_cast<float>(e->position().y() * kTwipsPerPixel)};
}

// Click = press and release of the left button (a finger, a pen's tip) over
// the same widget; the toolkit turns touch and pen input that no widget takes
// into these mouse events. Other buttons (right, middle, a pen's barrel
// button) do nothing. A press made while a handler held the thread is not
// taken, nor the release that ends it.
class ClickRouter {
 public:
  void Press(QMouseEvent* e) {
    NoteInput(e->timestamp());
    if (e->button() == Qt::LeftButton) pressed_ = !HeldAt(e->timestamp());
  }
  void Release(QWidget* self, Widget* model, QMouseEvent* e) {
    NoteInput(e->timestamp());
    if (e->button() != Qt::LeftButton) return;
    bool click = pressed_ && self->rect().contains(e->position().toPoint());
    pressed_ = false;
    if (click && model) model->FireClick();
  }
  // A move, at `origin` (twips) of the view.
  void Move(Widget* model, QMouseEvent* e, Mouse origin = {}) {
    NoteInput(e->timestamp());
    const Mouse m = MouseOf(e);
    if (model) model->FireMouseMove(Mouse{m.x - origin.x, m.y - origin.y});
  }

 private:
  bool pressed_ = false;
};

// A view that routes the mouse to its model: clicks (press and release over
// it), moves (unless the model's kind reports none), and nothing further up.
class RoutedView : public QWidget {
 public:
  RoutedView(Widget* model, QWidget* parent, bool reports_moves)
      : QWidget(parent), model_(model), reports_moves_(reports_moves) {
    setMouseTracking(true);
  }
  Widget* model_;

 protected:
  void mousePressEvent(QMouseEvent* e) override { router_.Press(e); }
  void mouseReleaseEvent(QMouseEvent* e) override { router_.Release(this, model_, e); }
  void mouseMoveEvent(QMouseEvent* e) override {
    router_.Move(reports_moves_ ? model_ : nullptr, e, Origin());
  }
  // Where the model's own coordinates start in the view, in twips.
  virtual Mouse Origin() const { return {}; }
  void mouseDoubleClickEvent(QMouseEvent* e) override { router_.Press(e); }
  void wheelEvent(QWheelEvent* e) override { e->accept(); }

 private:
  ClickRouter router_;
  bool reports_moves_;
};

class BoxView : public RoutedView {
 public:
  BoxView(Widget* model, QWidget* parent) : RoutedView(model, parent, true) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!model_) return;
    QPainter p(this);
    p.fillRect(rect(), ToQColor(static_cast<Container*>(model_)->BackColor()));
  }
};

class LabelView : public RoutedView {
 public:
  LabelView(Widget* model, QWidget* parent) : RoutedView(model, parent, true) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!model_) return;
    const Label& m = *static_cast<Label*>(model_);
    QPainter p(this);
    p.fillRect(rect(), ToQColor(m.BackColor()));
    QFont font = FontFor(m.FontName(), m.FontSize(), m.FontBold());
    QRectF text_box = rect();
    if (m.Border()) {
      p.setPen(QColor(0, 0, 0));
      p.drawRect(rect().adjusted(0, 0, -1, -1));
      text_box = InsideBorder(font, text_box);
    }
    p.setFont(font);
    p.setPen(m.Enabled() ? ToQColor(m.ForeColor()) : QColor(128, 128, 128));
    int flags = Qt::AlignTop | Qt::TextSingleLine |
                (m.Alignment() == Align::Center ? Qt::AlignHCenter : Qt::AlignLeft);
    p.drawText(text_box, flags, Q(m.Caption()));
  }

 private:
  // A bordered label is exactly as high as a line of its text, and the
  // border takes its first and last rows. The text is placed so that the ink
  // of the font's tallest and deepest letters (capitals, accents on small
  // letters, brackets, descenders) is centred between the two rows with a
  // free row on each side, the same baseline for every caption in that
  // font; where the line has no room for that (small sizes), the text is
  // drawn a pixel size smaller until it has. The label keeps its size.
  static QRectF InsideBorder(QFont& font, const QRectF& box) {
    const qreal room = box.height() - 4;  // the border rows and a free row each
    QRectF ink;
    for (;;) {
      ink = QFontMetricsF(font).tightBoundingRect(QStringLiteral("Tfldhê(|)gjpqy"));
      if (ink.height() <= room || font.pixelSize() <= 1) break;
      font.setPixelSize(font.pixelSize() - 1);
    }
    const qreal baseline = box.top() + 2 + (room - ink.height()) / 2 - ink.top();
    return box.translated(0, std::round(baseline) - (box.top() + QFontMetricsF(font).ascent()));
  }
};

// Images report clicks only; a move over one goes nowhere.
class ImageView : public RoutedView {
 public:
  ImageView(Widget* model, QWidget* parent) : RoutedView(model, parent, false) {}
  std::string loaded_;
  QPixmap pixmap_;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (!model_) return;
    if (pixmap_.isNull() && !loaded_.empty()) pixmap_ = LoadPicture(loaded_);
    if (pixmap_.isNull()) return;
    QPainter p(this);
    if (static_cast<Image*>(model_)->Stretch()) {
      p.setRenderHint(QPainter::SmoothPixmapTransform);
      p.drawPixmap(rect(), pixmap_);
    } else {
      p.drawPixmap(0, 0, pixmap_);  // at its own size, cut by the widget's box
    }
  }
};

// A list's entries drawn with no margin of the view's own and never elided:
// the blanks of each entry are its margins, and the list is as wide as its
// measuring text. The text stands one pixel below the top of its row.
class PlainItems : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) p->fillRect(option.rect, option.palette.highlight());
    p->setFont(option.font);
    p->setPen(selected ? option.palette.highlightedText().color() : QColor(0, 0, 0));
    p->drawText(QRectF(option.rect).adjusted(0, 1, 0, 0),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                index.data(Qt::DisplayRole).toString());
  }
};

// A list: pressing the left button (a finger, a pen's tip) on an entry
// selects it (a click), dragging with it down moves the selection, releasing
// it reports a mouse-up. Other buttons do nothing, nor does a press made
// while a handler held the thread, nor the drag and release that follow it.
// Its scroll bar and the wheel scroll it and report nothing.
class ListView : public QListWidget {
 public:
  ListView(Widget* model, QWidget* parent) : QListWidget(parent), model_(model) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSpacing(0);
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new PlainItems(this));
  }
  Widget* model_;  // a ListBox
  // The selected row, or -1.
  int SelectedRow() const {
    const auto sel = selectedItems();
    return sel.isEmpty() ? -1 : row(sel.first());
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    NoteInput(e->timestamp());
    if (e->button() != Qt::LeftButton) return;
    pressed_ = Live() && !HeldAt(e->timestamp());
    if (!pressed_) return;
    QListWidget::mousePressEvent(e);
    bool on_item = itemAt(e->position().toPoint()) != nullptr;
    TakeSelection();
    if (on_item) model_->FireClick();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    NoteInput(e->timestamp());
    e->accept();
    if (!Live() || ((e->buttons() & Qt::LeftButton) && !pressed_)) return;
    QListWidget::mouseMoveEvent(e);  // the view's selection; the model takes it on release
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    NoteInput(e->timestamp());
    e->accept();
    if (e->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (!Live()) return;
    QListWidget::mouseReleaseEvent(e);
    TakeSelection();
    model_->FireMouseUp(MouseOf(e));
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
  void keyPressEvent(QKeyEvent* e) override { e->accept(); }

 private:
  bool Live() const { return model_ && model_->Shown(); }
  void TakeSelection() {
    if (model_) Peer::ListPicked(*static_cast<ListBox*>(model_), SelectedRow());
  }
  bool pressed_ = false;
};

// Where a form lies on the screen its view covers, in pixels.
QPoint Offset(const Form& f) {
  return QPoint(VPx(f.Left()), VPx(f.Top()));
}

class FormView : public RoutedView {
 public:
  explicit FormView(Widget* model) : RoutedView(model, nullptr, true) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Tooltips also when the window is not the active one (no window
    // manager, or the focus left elsewhere on a shared screen).
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  }

 protected:
  // The view covers the screen; the form lies at its place on it, the rest black.
  void paintEvent(QPaintEvent* e) override {
    QPainter p(this);
    if (!model_) return;
    const QPoint at = Offset(*static_cast<Form*>(model_));
    p.fillRect(e->rect(), Qt::black);
    p.translate(at);
    Peer::PaintSurface(*static_cast<Form*>(model_), p, e->rect().translated(-at));
  }
  // The window has the keyboard whenever it is the active one: no widget
  // in it takes the focus.
  void keyPressEvent(QKeyEvent* e) override {
    const bool copy = e->matches(QKeySequence::Copy);
    if (!model_ || !(copy || e->matches(QKeySequence::Save))) return QWidget::keyPressEvent(e);
    static_cast<Form*>(model_)->FireKeyDown(copy ? Shortcut::Copy : Shortcut::Save);
  }
  Mouse Origin() const override { return model_ ? Mouse{model_->Left(), model_->Top()} : Mouse{}; }
  void closeEvent(QCloseEvent* e) override {
    // The program decides when it ends; the window stays until it does.
    e->ignore();
    if (model_ && !S().ended) static_cast<Form*>(model_)->CloseRequested();
  }
};

QWidget* ParentView(Widget& w) {
  Container* c = w.Parent();
  return c ? c->peer()->view.data() : nullptr;
}

}  // namespace

void Peer::Create(Widget& w) {
  Peer& p = *w.peer_;
  QWidget* parent = ParentView(w);
  switch (w.kind_) {
    case Kind::Form: {
      auto* v = new FormView(&w);
      p.top.reset(v);
      p.view = v;
      return;
    }
    case Kind::PictureBox:
      p.view = new BoxView(&w, parent);
      break;
    case Kind::Label:
      p.view = new LabelView(&w, parent);
      break;
    case Kind::ListBox:
      p.view = new ListView(&w, parent);
      break;
    case Kind::Image:
      p.view = new ImageView(&w, parent);
      break;
  }
}

void Peer::Detach(Widget& w) {
  Peer& p = *w.peer_;
  if (!p.view) return;
  // The view stays with its Qt parent (deleted with the form's window); it
  // only forgets its model, so that nothing reaches a destroyed widget.
  if (w.kind_ == Kind::ListBox) {
    static_cast<ListView*>(p.view.data())->model_ = nullptr;
  } else {
    static_cast<RoutedView*>(p.view.data())->model_ = nullptr;
  }
}

void Peer::ListPicked(ListBox& l, int row) {
  l.index_ = row;  // the view's own row, or -1: it already shows it
}

void Peer::Sync(Widget& w, bool full) {
  Peer& p = *w.peer_;
  QWidget* v = p.view.data();
  if (!v) return;
  if (w.kind_ != Kind::Form) v->setVisible(w.visible_);  // the same again is a no-op
  if (!full) return;
  if (w.kind_ != Kind::Form) {
    QRect r = PixelRect(w.Left(), w.Top(), w.Width(), w.Height());
    if (w.Parent() && w.Parent()->GetKind() == Kind::Form)
      r.translate(Offset(static_cast<const Form&>(*w.Parent())));
    if (r != p.shown_rect) {
      v->setGeometry(r);
      p.shown_rect = r;
    }
  }
  QString tip = Q(OfferedToolTip(w));
  if (v->toolTip() != tip) v->setToolTip(tip);
  switch (w.kind_) {
    case Kind::Form: {
      auto& f = static_cast<Form&>(w);
      QString title = Q(f.caption_);
      if (v->windowTitle() != title) v->setWindowTitle(title);
      Qt::CursorShape shape = f.pointer_ == Pointer::Hourglass ? Qt::WaitCursor : Qt::ArrowCursor;
      if (v->cursor().shape() != shape) v->setCursor(shape);
      break;
    }
    case Kind::ListBox: {
      auto& l = static_cast<ListBox&>(w);
      auto* lv = static_cast<ListView*>(v);
      const QFont& font = FontFor("Microsoft Sans Serif", l.font_size_, false);
      if (lv->font() != font) lv->setFont(font);
      int row_px = VPx(l.RowHeight());
      while (lv->count() < l.ListCount())
        lv->addItem(Q(l.items_[static_cast<size_t>(lv->count())]));
      for (int i = 0; i < lv->count(); ++i) {
        QListWidgetItem* it = lv->item(i);
        if (it->sizeHint().height() != row_px) it->setSizeHint(QSize(1, row_px));
      }
      QPalette pal = lv->palette();
      if (pal.color(QPalette::Base) != ToQColor(l.back_)) {
        pal.setColor(QPalette::Base, ToQColor(l.back_));
        lv->setPalette(pal);
      }
      if (lv->SelectedRow() != l.index_) lv->setCurrentRow(l.index_);  // -1 clears it
      break;
    }
    case Kind::Image: {
      auto& im = static_cast<Image&>(w);
      auto* iv = static_cast<ImageView*>(v);
      if (iv->loaded_ != im.resource_) {
        iv->loaded_ = im.resource_;
        iv->pixmap_ = QPixmap();  // decoded at the first paint
      }
      break;
    }
    default:
      break;
  }
  v->update();
}

}  // namespace ui
