#include "toolkit/Application.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QEvent>

#include "Later.h"
#include "rtl/RuntimeErrors.h"
#include "support/ScriptedDialogs.h"

namespace tk {
namespace {

// Throws from inside Qt's own event dispatch.
class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw rtl::EConvertError("'' is not a valid integer value");
    return QObject::event(e);
  }
};

TEST(Guard, ShowsTheTextOfWhateverEndsAHandlerAndGoesOn) {
  ScriptedDialogs dialogs;
  Application().SetTitle("Jabberwell v3");
  Guard([] { throw rtl::EInOutError(rtl::kFileNotFound); });
  Guard([] { throw std::runtime_error("plain"); });
  Guard([] { throw 7; });
  int after = 0;
  Guard([&] { ++after; });
  EXPECT_EQ(after, 1);
  const auto texts = dialogs.Texts(ScriptedDialogs::Kind::Error);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], rtl::EInOutError::TextFor(rtl::kFileNotFound));
  EXPECT_EQ(texts[1], "plain");
  EXPECT_EQ(dialogs.calls[0].title, "Jabberwell v3");
}

TEST(Guard, SignalHandlersRunGuardedWithTheirArguments) {
  EnsureToolkitApp();
  ScriptedDialogs dialogs;
  QObject sender;
  Connect(&sender, &QObject::objectNameChanged, &sender,
          [](const QString& name) { throw rtl::Exception(name.toStdString()); });
  sender.setObjectName("boom");
  EXPECT_EQ(dialogs.Texts(ScriptedDialogs::Kind::Error), std::vector<std::string>{"boom"});
}

TEST(Application, TheLoopRunsOnAfterAnErrorUntilTerminated) {
  EnsureToolkitApp();
  ScriptedDialogs dialogs;
  Thrower thrower;
  bool later = false;
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  Later([&] {
    later = true;
    Application().Terminate();
  });
  Application().Run();
  EXPECT_TRUE(later);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(dialogs.Texts(ScriptedDialogs::Kind::Error),
            std::vector<std::string>{"'' is not a valid integer value"});
  Application().Run();  // already terminated: returns at once
}

}  // namespace
}  // namespace tk
