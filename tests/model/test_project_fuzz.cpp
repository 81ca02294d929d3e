// Feeds thousands of damaged project files to the loader: random byte flips, counts and
// coordinates replaced by extreme values, cuts and stray tails. The loader must answer
// true or false without crashing or reading past the data (the sanitized build of this
// test turns any such read into a failure), and every file it accepts must save again to
// bytes that load and re-save identically. The seed is fixed, so a failure repeats.
#include "uExampleProject.h"
#include "uFireClasses.h"
#include "uProjectFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <random>

namespace {

// The 32-bit fields that steer the loader: counts, IDs and positions of the example.
std::vector<qsizetype> SteeringOffsets(const QByteArray& file, const TFireProject& p)
{
    std::vector<qsizetype> at { 5 + 256, 5 + 260, 5 + 290, 5 + 315 };
    qsizetype pos = 324;
    for (size_t i = 0; i < p.GetRooms().size(); ++i, pos += 305) {
        at.push_back(pos + 256); // ID
        at.push_back(pos + 260); // Left
        at.push_back(pos + 284); // door count
    }
    for (const auto& room : p.GetRooms())
        for (size_t k = 0; k < room->GetDoors().size(); ++k, pos += 297)
            at.push_back(pos + 273); // holding zone
    for (const auto& source : p.WaterSources())
        pos += 531 + (dynamic_cast<const TWSPier*>(source.get()) ? 10 : 0);
    for (; pos + 374 <= file.size(); pos += 374) {
        at.push_back(pos);       // zone ID
        at.push_back(pos + 326); // x
    }
    return at;
}

void PutInt32(QByteArray& b, qsizetype at, int32_t v)
{
    for (int i = 0; i < 4 && at + i < b.size(); ++i)
        b[at + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
}

} // namespace

TEST(ProjectFileFuzz, DamagedFilesNeverCrashTheLoader)
{
    const auto example = MakeExampleProject();
    const QByteArray base = ProjectToBytes(*example);
    const std::vector<qsizetype> steering = SteeringOffsets(base, *example);
    const int32_t extremes[] = { -1, 0, 1, 2, 7, 255, 1000, INT32_MAX, INT32_MIN, INT32_MAX / 305, -INT32_MAX / 2 };

    std::mt19937 random(20261209u);
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    int accepted = 0, refused = 0;
    constexpr int Rounds = 4000;
    for (int round = 0; round < Rounds; ++round) {
        QByteArray bytes = base;
        const int mutations = 1 + static_cast<int>(pick(4));
        for (int m = 0; m < mutations; ++m) {
            switch (pick(6)) {
            case 0: // flip bits of a random byte
                bytes[static_cast<qsizetype>(pick(static_cast<size_t>(bytes.size())))] ^=
                    static_cast<char>(1 + pick(255));
                break;
            case 1: // an extreme value in a field that steers the loader
                PutInt32(bytes, steering[pick(steering.size())], extremes[pick(std::size(extremes))]);
                break;
            case 2: // a random value there
                PutInt32(bytes, steering[pick(steering.size())], static_cast<int32_t>(random()));
                break;
            case 3: // cut short
                bytes.truncate(static_cast<qsizetype>(pick(static_cast<size_t>(bytes.size()) + 1)));
                break;
            case 4: // a stray tail
                bytes.append(QByteArray(static_cast<qsizetype>(1 + pick(400)), static_cast<char>(pick(256))));
                break;
            default: // any byte anywhere, including length bytes of names
                if (!bytes.isEmpty())
                    bytes[static_cast<qsizetype>(pick(static_cast<size_t>(bytes.size())))] =
                        static_cast<char>(pick(256));
                break;
            }
        }

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
