#pragma once

#include <QAbstractAnimation>
#include <QCoreApplication>

namespace testsupport {

// Drives Qt's animations for as long as it lives: they move only when the test
// moves this clock on, never with the wall clock, so a test can look at a
// motion halfway and at its end without waiting.
class AnimationClock final : public QAnimationDriver {
public:
    AnimationClock() { install(); }
    ~AnimationClock() override { uninstall(); }
    AnimationClock(const AnimationClock&) = delete;
    AnimationClock& operator=(const AnimationClock&) = delete;

    // Moves every running animation on by `ms`, those started since the last
    // move included (they begin on a later turn of the event loop).
    void advance(int ms) {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        m_elapsed += ms;
        advanceAnimation();
        QCoreApplication::processEvents();
    }

    qint64 elapsed() const override { return m_elapsed; }

protected:
    // Animations count their time from when the first of them starts.
    void start() override {
        m_elapsed = 0;
        QAnimationDriver::start();
    }

private:
    qint64 m_elapsed = 0;
};

}  // namespace testsupport
