#pragma once

// A test double of every desktop service at once: it records what the windows ask for and answers
// what the test sets. The clock stands still until the test moves it.
#include <QPoint>
#include <QUrl>
#include <QWidget>
#include <vector>

#include "ui/platform/platform.h"

namespace orbida::testing {

class FakePlatform final : public ui::PointerSource,
                           public ui::UrlOpener,
                           public ui::ConnectionChecker,
                           public ui::WindowManager,
                           public ui::Clock,
                           public ui::Session {
  public:
    ui::Platform Services() { return ui::Platform{*this, *this, *this, *this, *this, *this}; }

    QPoint Position() const override { return pointer; }
    bool Open(const QUrl& url) override {
        opened.push_back(url);
        return openSucceeds;
    }
    cities::ConnectionReport Check() override {
        ++checks;
        return connection;
    }
    void MakeTopmost(QWidget* window) override { topmost.push_back(window); }
    void StartSystemMove(QWidget* window) override { moved.push_back(window); }
    void Minimise(QWidget* window) override { minimised.push_back(window); }
    ui::WallTime Now() const override { return now; }
    bool PointerKnownOutside() const override { return pointerKnownOutside; }
    double RefreshRate() const override { return 60.0; }
    void ShowMessage(QWidget*, const QString& text) override { messages.push_back(text); }
    void Exit(int status) override { exits.push_back(status); }

    QPoint pointer{-1000, -1000};
    std::vector<QUrl> opened;
    bool openSucceeds = true;
    cities::ConnectionReport connection;
    int checks = 0;
    std::vector<QWidget*> topmost, moved, minimised;
    ui::WallTime now{std::chrono::milliseconds{0}};
    bool pointerKnownOutside = true;
    std::vector<QString> messages;
    std::vector<int> exits;
};

}  // namespace orbida::testing
