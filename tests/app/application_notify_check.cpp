// The application's per-event error display: an exception escaping an event
// handler is shown with its message and the event loop goes on. Its own
// executable, because it makes the one application object itself.
#include "bitstring.h"
#include "fakeuiseam.h"
#include "orvikapplication.h"

#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

TEST(OrvikApplication, ShowsAnEscapedExceptionAndGoesOn)
{
    // A user whose locale writes decimal commas (skipped silently where that
    // locale is not installed: the C locale is then kept anyway).
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    int argc = 1;
    char name[] = "orvik";
    char* argv[] = {name, nullptr};
    OrvikApplication app(argc, argv);
    FakeUiSeam ui;

    bool loopWentOn = false;
    QTimer::singleShot(0, [] { BitString(4)[9]; });
    QTimer::singleShot(10, [&] {
        loopWentOn = true;
        QCoreApplication::quit();
    });
    app.exec();

    EXPECT_TRUE(loopWentOn);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "BitString: index out of bounds");

    // Numbers in files use '.', whatever locale Qt took from the environment.
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 12.5);
    EXPECT_STREQ(text, "12.5");
}
