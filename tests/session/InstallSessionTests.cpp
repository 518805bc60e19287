#include <gtest/gtest.h>

#include <thread>

#include "session/InstallSession.h"

using korv::InstallSession;

TEST(InstallSession, StartsWithTheDocumentedValues) {
    InstallSession s;
    EXPECT_EQ(s.maintenanceMode, korv::kModeUninstall);
    EXPECT_EQ(s.numValue, 1);
    EXPECT_EQ(s.showInfoPage, 1);
    EXPECT_EQ(s.installStage, korv::kStageNone);
    for (int value : {s.netTest, s.packageCount, s.classicWorkspace, s.beta, s.product64Bit, s.os64Bit,
                      s.installed, s.installed64Bit, s.agreementAccepted, s.office64Bit}) {
        EXPECT_EQ(value, 0);
    }
    for (const std::wstring* text : {&s.setupFolder, &s.targetFolder, &s.productName, &s.productRegName,
                                     &s.companyName, &s.productVersion, &s.languageName, &s.languageCode,
                                     &s.languageId, &s.dotNetVersion, &s.globalServer, &s.channel}) {
        EXPECT_TRUE(text->empty());
    }
    EXPECT_TRUE(s.packages.empty());
    EXPECT_EQ(s.resourceModule, nullptr);
    EXPECT_EQ(s.msiModule, nullptr);
    EXPECT_EQ(s.progressWindow, nullptr);
}

TEST(InstallSession, ResetRestoresEveryFieldAndFreePackagesEmptiesTheList) {
    InstallSession& s = korv::Session();
    s.targetFolder = L"C:\\X";
    s.maintenanceMode = korv::kModeRepair;
    s.installStage = korv::kStageSetupFiles;
    s.packages.resize(3);
    s.packageCount = 3;
    s.FreePackages();
    EXPECT_TRUE(s.packages.empty());
    EXPECT_EQ(s.packageCount, 0);
    s.Reset();
    EXPECT_TRUE(s.targetFolder.empty());
    EXPECT_EQ(s.maintenanceMode, korv::kModeUninstall);
    EXPECT_EQ(s.installStage, korv::kStageNone);
}

TEST(InstallSession, StageWrittenOnTheWorkerIsSeenOnTheReader) {
    InstallSession s;
    std::thread worker([&] {
        for (int stage = korv::kStagePrerequisites; stage <= korv::kStageSetupFiles; ++stage) {
            s.installStage = stage;
        }
    });
    int last = 0;
    while (last != korv::kStageSetupFiles) {
        int seen = s.installStage;
        ASSERT_GE(seen, last);  // stages only move forward
        last = seen;
    }
    worker.join();
}
