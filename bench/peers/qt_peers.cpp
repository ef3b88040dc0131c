// The same three interactions as our benchmarks, done with Qt 6 Widgets on
// the offscreen platform, so that `make bench` can set our times beside a
// mainstream toolkit's, measured on the same machine in the same run:
//
//   BM_QtSliderDragStep/NumberField  <->  bench_slider BM_SliderDragStepChangingTheValue
//     A QSlider (0..1000) beside a QLineEdit in a shown panel, its handle
//     pressed; one step is a mouse move sent to the slider, whose
//     valueChanged writes the value into a document double through a
//     QUndoStack (one command merged by id, as a drag is), sets the line
//     edit's text (6 significant digits) and repaints the slider and the
//     line edit; then the events Qt posted meanwhile are delivered, as our
//     step pumps its message queue. /SliderOnly is the same without the
//     line edit.
//   BM_QtViewerMove                  <->  bench_point BM_DragMove/Point
//     A 1920x1080 widget painting a picture with a point handle drawn over
//     it, the handle pressed; one move is a mouse move that moves the handle
//     and repaints the old and the new handle rectangles.
//   BM_QtPanelOpen                   <->  bench_panel_open BM_PanelOpen...
//     A panel of 20 controls (slider and line edit rows, check boxes, combo
//     boxes, push buttons) built, shown and painted once, then deleted.
//
// Times are CPU time of the whole process. Events are delivered with
// QCoreApplication::sendEvent, as our benchmarks inject theirs. Every
// allocation of the process is counted: "allocations_per_*" counts
// operator new, as our benchmarks do; "mallocs_per_*" counts the C
// allocation calls (malloc, calloc, realloc) made besides, which is where
// Qt's containers, strings and images get their memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QUndoCommand>
#include <QUndoStack>
#include <QWidget>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

// ---- Allocation counting -------------------------------------------------
// The program's malloc, calloc and realloc replace the C library's for every
// library of the process and hand the work to the C library's own
// allocator, so a block from either side may be freed by the other.

namespace {

std::atomic<long> newCount{0};
std::atomic<long> mallocCount{0};

}  // namespace

extern "C" {
void* __libc_malloc(std::size_t size) noexcept;
void* __libc_calloc(std::size_t count, std::size_t size) noexcept;
void* __libc_realloc(void* block, std::size_t size) noexcept;
void __libc_free(void* block) noexcept;

void* malloc(std::size_t size) noexcept {
  mallocCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
  mallocCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(count, size);
}
void* realloc(void* block, std::size_t size) noexcept {
  mallocCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(block, size);
}
void free(void* block) noexcept {
  __libc_free(block);
}
}

// operator new goes straight to the C library, so it is counted once, as
// operator new only.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  newCount.fetch_add(1, std::memory_order_relaxed);
  if (void* p = __libc_malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  newCount.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return ::operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept {
  __libc_free(p);
}
void operator delete[](void* p) noexcept {
  __libc_free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  __libc_free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  __libc_free(p);
}

namespace {

// The allocation counts from construction to Report, per iteration, under
// the names "allocations_per_<unit>" and "mallocs_per_<unit>".
class AllocationMeter {
 public:
  AllocationMeter() : news_(newCount.load()), mallocs_(mallocCount.load()) {}
  void Report(benchmark::State& state, const char* unit) const {
    const auto perIteration = [&](long count) {
      return benchmark::Counter(static_cast<double>(count), benchmark::Counter::kAvgIterations);
    };
    state.counters[std::string("allocations_per_") + unit] = perIteration(newCount.load() - news_);
    state.counters[std::string("mallocs_per_") + unit] = perIteration(mallocCount.load() - mallocs_);
  }

 private:
  long news_;
  long mallocs_;
};

// ---- Shared helpers ------------------------------------------------------

// Sends a left-button mouse event at `at`, in the target's coordinates; the
// offscreen screen's position is never read, so it is given the same point.
void SendMouse(QWidget* target, QEvent::Type type, QPoint at) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, at, button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &event);
}

// Shows a top-level widget and lets the platform expose and paint it.
void ShowAndSettle(QWidget& window) {
  window.show();
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
}

// Counts the paint events a widget receives while installed.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* watched) : watched_(watched) { watched_->installEventFilter(this); }
  ~PaintCounter() override { watched_->removeEventFilter(this); }
  int Paints() const { return paints_; }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints_;
    return false;
  }

 private:
  QWidget* watched_;
  int paints_ = 0;
};

// ---- (a) Slider drag step ------------------------------------------------

constexpr int SliderMax = 1000;
constexpr int SliderPanelWidth = 320;
constexpr int SignificantDigits = 6;
constexpr int DragMergeId = 1;
constexpr int WarmUpSteps = 8;
// The two pointer positions a drag step alternates between, in pixels to
// the right of the pressed handle's centre.
constexpr int FirstStepOffset = 20;
constexpr int SecondStepOffset = 30;

// Writes the document's value; successive writes of one drag merge into
// one undo step.
class SetValueCommand : public QUndoCommand {
 public:
  SetValueCommand(double& document, double value) : document_(document), before_(document), after_(value) {}
  int id() const override { return DragMergeId; }
  bool mergeWith(const QUndoCommand* other) override {
    after_ = static_cast<const SetValueCommand*>(other)->after_;
    return true;
  }
  void redo() override { document_ = after_; }
  void undo() override { document_ = before_; }

 private:
  double& document_;
  double before_;
  double after_;
};

// A slider that tells where its handle is.
class HandleSlider : public QSlider {
 public:
  using QSlider::QSlider;
  QPoint HandleCentre() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this).center();
  }
};

void BM_QtSliderDragStep(benchmark::State& state, bool withNumberField) {
  double document = 0.5;
  QUndoStack undo;
  QWidget panel;
  auto* slider = new HandleSlider(Qt::Horizontal);
  slider->setRange(0, SliderMax);
  slider->setValue(SliderMax / 2);
  QLineEdit* field = withNumberField ? new QLineEdit(QString::number(document, 'g', SignificantDigits)) : nullptr;
  auto* row = new QHBoxLayout(&panel);
  row->addWidget(slider, 1);
  if (field) row->addWidget(field);
  panel.resize(SliderPanelWidth, panel.sizeHint().height());
  QObject::connect(slider, &QSlider::valueChanged, [&](int position) {
    undo.push(new SetValueCommand(document, static_cast<double>(position) / SliderMax));
    slider->repaint();
    if (!field) return;
    field->setText(QString::number(document, 'g', SignificantDigits));
    field->repaint();
  });
  ShowAndSettle(panel);

  const QPoint pressed = slider->HandleCentre();
  SendMouse(slider, QEvent::MouseButtonPress, pressed);
  if (!slider->isSliderDown()) {
    state.SkipWithError("the press did not grab the slider handle");
    return;
  }
  const QPoint first = pressed + QPoint(FirstStepOffset, 0);
  const QPoint second = pressed + QPoint(SecondStepOffset, 0);
  {
    PaintCounter paints(slider);
    for (int i = 0; i < WarmUpSteps; ++i) {
      SendMouse(slider, QEvent::MouseMove, i % 2 ? second : first);
      QCoreApplication::sendPostedEvents();
    }
    if (paints.Paints() < WarmUpSteps) {
      state.SkipWithError("a drag step did not repaint the slider");
      return;
    }
  }
  long steps = 0;
  const AllocationMeter meter;
  for (auto _ : state) {
    SendMouse(slider, QEvent::MouseMove, steps % 2 ? second : first);
    QCoreApplication::sendPostedEvents();
    ++steps;
  }
  meter.Report(state, "step");
  SendMouse(slider, QEvent::MouseButtonRelease, steps % 2 ? first : second);
  state.counters["value"] = document;
  state.counters["undo_steps"] = undo.count();
}
BENCHMARK_CAPTURE(BM_QtSliderDragStep, NumberField, true)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_QtSliderDragStep, SliderOnly, false)->MeasureProcessCPUTime();

// ---- (b) Viewer handle move ----------------------------------------------

constexpr int ViewerWidth = 1920;
constexpr int ViewerHeight = 1080;
// The picture is 320x240, shown 4.5 times as large so that it fills the
// viewer's height, centred, as our viewer shows its sample picture.
constexpr int PictureWidth = 320;
constexpr int PictureHeight = 240;
constexpr double Zoom = 4.5;
// The handle: a cross-hair with a ring, reaching this far from its centre.
constexpr int HandleReach = 8;
constexpr int HandleRing = 4;
constexpr int MoveSpan = 200;
constexpr int MoveRows = 7;

// A small picture with something to see: colour gradients and a grid.
QImage MakePicture() {
  QImage picture(PictureWidth, PictureHeight, QImage::Format_RGB32);
  for (int y = 0; y < PictureHeight; ++y)
    for (int x = 0; x < PictureWidth; ++x) {
      const bool grid = x % 32 == 0 || y % 32 == 0;
      picture.setPixel(x, y, grid ? qRgb(255, 255, 255) : qRgb(x * 255 / PictureWidth, y * 255 / PictureHeight, 128));
    }
  return picture;
}

// A picture viewer with one point handle that follows a drag. The picture is
// zoomed once into a viewer-sized image; painting copies the exposed part
// of it and draws the handle over it.
class PictureViewer : public QWidget {
 public:
  PictureViewer() : shown_(ViewerWidth, ViewerHeight, QImage::Format_RGB32) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(ViewerWidth, ViewerHeight);
    shown_.fill(Qt::darkGray);
    const QImage zoomed = MakePicture().scaled(PictureWidth * Zoom, PictureHeight * Zoom);
    QPainter(&shown_).drawImage((ViewerWidth - zoomed.width()) / 2, (ViewerHeight - zoomed.height()) / 2, zoomed);
    handle_ = rect().center();
  }
  QPoint Handle() const { return handle_; }
  bool Dragging() const { return dragging_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override { dragging_ = HandleRect().contains(event->position().toPoint()); }
  void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!dragging_) return;
    const QRect before = HandleRect();
    handle_ = event->position().toPoint();
    repaint(QRegion(before) + HandleRect());
  }
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    for (const QRect& part : event->region()) painter.drawImage(part.topLeft(), shown_, part);
    painter.setPen(Qt::white);
    painter.drawLine(handle_ - QPoint(HandleReach, 0), handle_ + QPoint(HandleReach, 0));
    painter.drawLine(handle_ - QPoint(0, HandleReach), handle_ + QPoint(0, HandleReach));
    painter.drawEllipse(handle_, HandleRing, HandleRing);
  }

 private:
  QRect HandleRect() const {
    return QRect(handle_ - QPoint(HandleReach, HandleReach), QSize(2 * HandleReach + 1, 2 * HandleReach + 1));
  }

  QImage shown_;
  QPoint handle_;
  bool dragging_ = false;
};

void BM_QtViewerMove(benchmark::State& state) {
  PictureViewer viewer;
  ShowAndSettle(viewer);
  const QPoint pressed = viewer.Handle();
  SendMouse(&viewer, QEvent::MouseButtonPress, pressed);
  if (!viewer.Dragging()) {
    state.SkipWithError("the press did not grab the handle");
    return;
  }
  // Every move lands on another pixel, as in our benchmark.
  const auto step = [&](long i) {
    return pressed + QPoint(static_cast<int>(i % MoveSpan) - MoveSpan / 2, static_cast<int>(i % MoveRows));
  };
  long i = 0;
  {
    PaintCounter paints(&viewer);
    for (; i < WarmUpSteps; ++i) SendMouse(&viewer, QEvent::MouseMove, step(i + 1));
    if (paints.Paints() < WarmUpSteps) {
      state.SkipWithError("a move did not repaint the viewer");
      return;
    }
  }
  const AllocationMeter meter;
  for (auto _ : state) SendMouse(&viewer, QEvent::MouseMove, step(++i));
  meter.Report(state, "move");
  SendMouse(&viewer, QEvent::MouseButtonRelease, viewer.Handle());
}
BENCHMARK(BM_QtViewerMove)->MeasureProcessCPUTime();

// ---- (c) Panel open and first paint --------------------------------------

constexpr int NumberRows = 6;  // a slider and a line edit each
constexpr int CheckBoxes = 3;
constexpr int ComboBoxes = 3;
constexpr int ComboItems = 4;
constexpr int PushButtons = 2;
static_assert(2 * NumberRows + CheckBoxes + ComboBoxes + PushButtons == 20);
constexpr int MaxPumps = 100;
constexpr int WarmUpOpens = 2;

// A panel that notes its first paint; its children are painted in the same
// pass, after it.
class Panel : public QWidget {
 public:
  bool Painted() const { return painted_; }

 protected:
  void paintEvent(QPaintEvent*) override { painted_ = true; }

 private:
  bool painted_ = false;
};

// Builds the 20 controls, shows the panel and pumps events until it has
// been painted. False when no paint came.
bool OpenPanel() {
  auto panel = std::make_unique<Panel>();
  auto* grid = new QGridLayout(panel.get());
  // Left to constrain the window's size, the layout would have the
  // offscreen platform print a warning at every open.
  grid->setSizeConstraint(QLayout::SetNoConstraint);
  int row = 0;
  for (int i = 0; i < NumberRows; ++i, ++row) {
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setRange(0, SliderMax);
    slider->setValue(i * SliderMax / NumberRows);
    grid->addWidget(slider, row, 0);
    grid->addWidget(new QLineEdit(QString::number(slider->value() / double(SliderMax), 'g', SignificantDigits)), row,
                    1);
  }
  for (int i = 0; i < CheckBoxes; ++i, ++row) grid->addWidget(new QCheckBox(QStringLiteral("Option")), row, 0, 1, 2);
  for (int i = 0; i < ComboBoxes; ++i, ++row) {
    auto* combo = new QComboBox;
    for (int item = 0; item < ComboItems; ++item) combo->addItem(QStringLiteral("Choice %1").arg(item + 1));
    grid->addWidget(combo, row, 0, 1, 2);
  }
  for (int i = 0; i < PushButtons; ++i, ++row) grid->addWidget(new QPushButton(QStringLiteral("Apply")), row, 0, 1, 2);
  panel->show();
  for (int i = 0; i < MaxPumps && !panel->Painted(); ++i) QCoreApplication::processEvents();
  return panel->Painted();
}

void BM_QtPanelOpen(benchmark::State& state) {
  for (int i = 0; i < WarmUpOpens; ++i) OpenPanel();
  const AllocationMeter meter;
  for (auto _ : state) {
    if (!OpenPanel()) {
      state.SkipWithError("the panel was not painted");
      return;
    }
  }
  meter.Report(state, "open");
}
BENCHMARK(BM_QtPanelOpen)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  // Always the offscreen platform, so that no display is needed and every
  // run measures the same thing.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  benchmark::Initialize(&argc, argv);
  QApplication application(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
