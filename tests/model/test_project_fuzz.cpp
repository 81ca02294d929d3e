// Feeds thousands of damaged project files to the loader: random byte flips, counts,
// coordinates and reals replaced by extreme values, cuts and stray tails
// (ProjectMutations.h). The loader must answer true or false without crashing or reading
// past the data (the sanitized build of this test turns any such read into a failure),
// and every file it accepts must save again to bytes that load and re-save identically.
// The seed is fixed, so a failure repeats.
#include "ProjectMutations.h"
#include "uExampleProject.h"
#include "uFireClasses.h"
#include "uProjectFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

TEST(ProjectFileFuzz, DamagedFilesNeverCrashTheLoader)
{
    TProjectMutator mutator(*MakeExampleProject(), 20261209u);
    int accepted = 0, refused = 0;
    constexpr int Rounds = 4000;
    for (int round = 0; round < Rounds; ++round) {
        const QByteArray bytes = mutator.Next();

        // The loader gets the damaged file in a buffer of exactly its size (QByteArray keeps
        // spare capacity after a cut), so the sanitizer sees a read one byte past the end.
        const auto exact = std::make_unique<char[]>(static_cast<size_t>(std::max<qsizetype>(bytes.size(), 1)));
        std::copy(bytes.cbegin(), bytes.cend(), exact.get());
        const QByteArray view = QByteArray::fromRawData(exact.get(), bytes.size());

        TFireProject p;
        QString error;
        if (!ProjectFromBytes(p, view, &error)) {
            ++refused;
            ASSERT_FALSE(error.isEmpty()) << "round " << round;
            ASSERT_EQ(p.GetRoomsCount(), 0) << "round " << round;
            ASSERT_TRUE(p.WaterSources().empty()) << "round " << round;
            continue;
        }
        ++accepted;
        // Whatever was accepted is a project we can save, and its saved form is stable.
        const QByteArray saved = ProjectToBytes(p);
        TFireProject again;
        ASSERT_TRUE(ProjectFromBytes(again, saved, &error)) << "round " << round << ": " << error.toStdString();
        ASSERT_EQ(ProjectToBytes(again), saved) << "round " << round;
    }
    // Both outcomes must have been exercised, or the mutations missed the loader's paths.
    EXPECT_GT(accepted, Rounds / 20);
    EXPECT_GT(refused, Rounds / 20);
}
