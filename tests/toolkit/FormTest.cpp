#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

#include "platform/WindowHandles.h"
#include "platform/linux/QtBridge.h"
#include "support/QtTestApp.h"
#include "toolkit/Form.h"

using namespace platform;

namespace {

class Answering : public tk::TForm {
 public:
  Answering() : TForm(nullptr) {
    SetMessageHandler(WM_USER, [this](tk::TMessage& m) {
      seen = m.WParam;
      m.Result = 77;
    });
  }
  WPARAM seen = 0;
};

TEST(Form, HandleIsMadeOnceAndHandsMessagesToDispatch) {
  EnsureQtApp();
  Answering form;
  EXPECT_FALSE(form.HandleAllocated());
  const HWND h = form.Handle();
  EXPECT_EQ(form.Handle(), h);
  EXPECT_EQ(GetWindowWidget(h), form.Widget());
  EXPECT_EQ(SendMessageA(h, WM_USER, 5, 0), 77);
  EXPECT_EQ(form.seen, 5u);
  EXPECT_EQ(SendMessageA(h, WM_USER + 1, 0, 0), 0);  // no handler: the default does nothing
  EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::Tool));
}

TEST(Form, ComponentsItOwnsAreMarkedDestroyingBeforeTheyGo) {
  EnsureQtApp();
  struct Watcher : tk::TComponent {
    using TComponent::TComponent;
    ~Watcher() override { *destroying = Destroying(); }
    bool* destroying = nullptr;
  };
  bool destroying = false;
  auto* form = new tk::TForm(nullptr);
  (new Watcher(form))->destroying = &destroying;
  delete form;
  EXPECT_TRUE(destroying);
}

TEST(Form, CaptionVisibilityAndSize) {
  EnsureQtApp();
  tk::TForm form(nullptr);
  form.SetCaption("Jabberwell v3 - Configuration \xe9");
  EXPECT_EQ(form.Caption(), "Jabberwell v3 - Configuration \xe9");
  form.SetClientSize(344, 208);
  form.SetCenterOnShow(true);
  form.Show();
  form.Repaint();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.Widget()->size(), QSize(344, 208));
  form.Hide();
  EXPECT_FALSE(form.Visible());
}

TEST(Form, OwnedComponentsGoBeforeTheWidgetAndTheWindow) {
  EnsureQtApp();
  static bool widgetSeen = false, windowSeen = false;
  struct Reporting : tk::TComponent {
    explicit Reporting(tk::TForm* form)
        : TComponent(form), widget_(form->Widget()), handle_(form->Handle()) {}
    ~Reporting() override {
      widgetSeen = !widget_.isNull();
      windowSeen = IsWindow(handle_);
    }
    QPointer<QWidget> widget_;
    HWND handle_;
  };
  auto* form = new tk::TForm(nullptr);
  QPointer<QWidget> widget = form->Widget();
  new Reporting(form);
  const HWND h = form->Handle();
  delete form;
  EXPECT_TRUE(widgetSeen);
  EXPECT_TRUE(windowSeen);
  EXPECT_TRUE(widget.isNull());
  EXPECT_FALSE(IsWindow(h));
}

// A form whose controls wait for its first showing.
class Deferred : public tk::TForm {
 public:
  Deferred() : TForm(nullptr) {
    SetClientSize(200, 100);
    SetCenterOnShow(true);
    BuildWhenNeeded([this] {
      ++builds;
      box = new QWidget(Widget());
      box->setGeometry(10, 10, 20, 20);
    });
  }
  int builds = 0;
  QWidget* box = nullptr;
};

TEST(Form, DeferredControlsAreBuiltOnceAtFirstShowAndKeptBetweenShowings) {
  EnsureQtApp();
  Deferred form;
  EXPECT_FALSE(form.Built());
  EXPECT_EQ(form.Widget()->findChild<QWidget*>(), nullptr);
  form.Show();
  EXPECT_TRUE(form.Built());
  ASSERT_NE(form.box, nullptr);
  EXPECT_TRUE(form.box->isVisible());
  EXPECT_EQ(form.Widget()->size(), QSize(200, 100));
  form.box->move(40, 50);  // state the user left behind
  form.Hide();
  form.Show();
  form.EnsureBuilt();  // as a caller reaching into the controls does
  EXPECT_EQ(form.builds, 1);
  EXPECT_EQ(form.box->pos(), QPoint(40, 50));
}

}  // namespace
