#pragma once

#include <QWidget>

namespace design {
class ODButton;
}

namespace app {

// "About Orbitday": the name, the version, and what the application does with
// the user's data. One window for the whole process, shown again in front.
class AboutDialog : public QWidget {
    Q_OBJECT

public:
    // Shows the one dialog, making it the first time, in front and active.
    static AboutDialog& present();

    explicit AboutDialog(QWidget* parent = nullptr);

    // "Version 0.1.0"; empty when the application has no version set.
    static QString versionText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace app
