#include <QCoreApplication>
#include <gtest/gtest.h>

// The logic's tests: no window system, only an event loop for timers and
// queued events.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
