#pragma once

// Test doubles of the desktop services: they record what the windows ask for and answer what the
// test sets.
#include <QPoint>
#include <QUrl>
#include <QWidget>
#include <vector>

#include "ui/platform.h"

namespace orbida::testing {

class FakePointer final : public ui::PointerSource {
  public:
    QPoint Position() const override { return position; }
    QPoint position{-1000, -1000};
};

class FakeUrlOpener final : public ui::UrlOpener {
  public:
    bool Open(const QUrl& url) override {
        opened.push_back(url);
        return succeed;
    }
    std::vector<QUrl> opened;
    bool succeed = true;
};

class FakeConnection final : public ui::ConnectionChecker {
  public:
    cities::ConnectionReport Check() override {
        ++checks;
        return report;
    }
    cities::ConnectionReport report;
    int checks = 0;
};

class FakeWindowManager final : public ui::WindowManager {
  public:
    void MakeTopmost(QWidget* window) override { topmost.push_back(window); }
    void StartSystemMove(QWidget* window) override { moved.push_back(window); }
    void Minimise(QWidget* window) override { minimised.push_back(window); }
    std::vector<QWidget*> topmost;
    std::vector<QWidget*> moved;
    std::vector<QWidget*> minimised;
};

// A clock that stands still until the test moves it.
class FakeClock final : public ui::Clock {
  public:
    ui::WallTime Now() const override { return now; }
    ui::WallTime now{std::chrono::milliseconds{0}};
};

class FakeSession final : public ui::Session {
  public:
    bool PointerKnownOutside() const override { return pointerKnownOutside; }
    double RefreshRate() const override { return refreshRate; }
    void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
    void Exit(int status) override { exits.push_back(status); }
    bool pointerKnownOutside = true;
    double refreshRate = 60.0;
    std::vector<QString> messages;
    std::vector<int> exits;
};

struct FakePlatform {
    FakePointer pointer;
    FakeUrlOpener urls;
    FakeConnection connection;
    FakeWindowManager windows;
    FakeClock clock;
    FakeSession session;

    ui::Platform Services() {
        return ui::Platform{pointer, urls, connection, windows, clock, session};
    }
};

}  // namespace orbida::testing
