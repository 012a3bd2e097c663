#pragma once
// Builds the program's seven windows the way start-up does, with the robot
// link on a pseudo-terminal instead of serial port 1, and a fake UI seam.
#include "fakeuiseam.h"
#include "orvikwindows.h"
#include "ptypair.h"
#include "tforvik.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class OrvikWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(pty.slavePath.isEmpty());
        CreateOrvikWindows(pty.slavePath);
        window = FOrvik;
        ASSERT_TRUE(tempDir.isValid());
    }
    void TearDown() override
    {
        DestroyOrvikWindows();
        QCoreApplication::processEvents();
    }
    QString TempFile(const QString& name) const { return tempDir.filePath(name); }

    FakeUiSeam ui;
    PtyPair pty;
    QTemporaryDir tempDir;
    TFOrvik* window = nullptr;
};
