// Damaged versions of one project file for the fuzz tests: bytes flipped or replaced,
// fields that steer the loader (counts, IDs, coordinates, sizes) set to extreme or random
// integers, reals set to extreme values (NaN, infinities, the largest and the smallest
// extended numbers, a scale just past its limit), the file cut short or given a stray
// tail. The sequence of files follows from the seed alone, so a failure repeats.
#pragma once

#include "uBinaryCodec.h"
#include "uFireClasses.h"
#include "uProjectFile.h"

#include <QByteArray>
#include <QtGlobal>
#include <climits>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

class TProjectMutator {
public:
    TProjectMutator(const TFireProject& project, uint32_t seed)
        : FBase(ProjectToBytes(project))
        , FRandom(seed)
    {
        FindFields(project);
    }

    const QByteArray& Base() const { return FBase; }

    // The next damaged file: one to four mutations of the base.
    QByteArray Next()
    {
        static const int32_t extremes[]
            = { -1, 0, 1, 2, 7, 255, 1000, INT32_MAX, INT32_MIN, INT32_MAX / 305, -INT32_MAX / 2,
                  PlanLimits::Coordinate, PlanLimits::Coordinate + 1, -PlanLimits::Coordinate, 10000 };
        static const long double reals[] = { std::numeric_limits<long double>::quiet_NaN(),
            std::numeric_limits<long double>::infinity(), -std::numeric_limits<long double>::infinity(),
            std::numeric_limits<long double>::max(), std::numeric_limits<long double>::lowest(),
            std::numeric_limits<long double>::denorm_min(), 1e-4000L, -1e4000L, 0.0L, -0.0L,
            PlanLimits::Scale, PlanLimits::Scale * 1.0001L, 1e-9L, 2147483648.0L };
        QByteArray bytes = FBase;
        const int mutations = 1 + static_cast<int>(Pick(4));
        for (int m = 0; m < mutations; ++m) {
            switch (Pick(7)) {
            case 0: // flip bits of a random byte
                if (!bytes.isEmpty())
                    bytes[static_cast<qsizetype>(Pick(static_cast<size_t>(bytes.size())))]
                        ^= static_cast<char>(1 + Pick(255));
                break;
            case 1: // an extreme value in a field that steers the loader
                PutInt32(bytes, FIntegers[Pick(FIntegers.size())], extremes[Pick(std::size(extremes))]);
                break;
            case 2: // a random value there
                PutInt32(bytes, FIntegers[Pick(FIntegers.size())], static_cast<int32_t>(FRandom()));
                break;
            case 3: // cut short
                bytes.truncate(static_cast<qsizetype>(Pick(static_cast<size_t>(bytes.size()) + 1)));
                break;
            case 4: // a stray tail
                bytes.append(QByteArray(static_cast<qsizetype>(1 + Pick(400)), static_cast<char>(Pick(256))));
                break;
            case 5: // an extreme real
                PutExtended(bytes, FReals[Pick(FReals.size())], reals[Pick(std::size(reals))]);
                break;
            default: // any byte anywhere, including length bytes of names
                if (!bytes.isEmpty())
                    bytes[static_cast<qsizetype>(Pick(static_cast<size_t>(bytes.size())))]
                        = static_cast<char>(Pick(256));
                break;
            }
        }
        return bytes;
    }

    // A whole number in [0, n).
    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(FRandom); }
    std::mt19937& Random() { return FRandom; }

private:
    // The offsets of the 32-bit fields that steer the loader and of the extended reals.
    void FindFields(const TFireProject& p)
    {
        using namespace ProjectFileLayout;
        const qsizetype h = VersionSize;
        FIntegers = { h + 256, h + 260, h + 264, h + 268, h + 282, h + 286, h + 290, h + 315 };
        FReals = { h + 272, h + 294, h + 304 };
        qsizetype pos = VersionSize + HeaderSize;
        for (size_t i = 0; i < p.GetRooms().size(); ++i, pos += RoomSize)
            for (const qsizetype at : { 256, 260, 264, 268, 272, 280, 284 }) // ID, Rect, H, door count
                FIntegers.push_back(pos + at);
        for (const auto& room : p.GetRooms())
            for (size_t k = 0; k < room->GetDoors().size(); ++k, pos += DoorSize)
                for (const qsizetype at : { 256, 260, 264, 269, 273, 280, 288 }) // start, size, rooms, Rect
                    FIntegers.push_back(pos + at);
        for (const auto& source : p.WaterSources()) {
            FIntegers.push_back(pos + 522); // X
            FIntegers.push_back(pos + 526); // Y
            const bool pier = dynamic_cast<const TWSPier*>(source.get()) != nullptr;
            if (pier)
                FReals.push_back(pos + WaterSourceSize);
            pos += WaterSourceSize + (pier ? PierExtraSize : 0);
        }
        for (; pos + SensorSize <= FBase.size(); pos += SensorSize) {
            for (const qsizetype at : { 0, 326, 330 }) // zone ID, x, y
                FIntegers.push_back(pos + at);
            for (const qsizetype at : { 334, 344, 354, 364 }) // thresholds and height
                FReals.push_back(pos + at);
        }
    }

    static void PutInt32(QByteArray& b, qsizetype at, int32_t v)
    {
        for (int i = 0; i < 4 && at + i < b.size(); ++i)
            b[at + i] = static_cast<char>(static_cast<uint32_t>(v) >> (8 * i));
    }

    static void PutExtended(QByteArray& b, qsizetype at, long double v)
    {
        unsigned char bytes[ExtendedSize];
        EncodeExtended(v, bytes);
        for (qsizetype i = 0; i < ExtendedSize && at + i < b.size(); ++i)
            b[at + i] = static_cast<char>(bytes[i]);
    }

    QByteArray FBase;
    std::mt19937 FRandom;
    std::vector<qsizetype> FIntegers;
    std::vector<qsizetype> FReals;
};
