#include "bench/data/USchoolGen.h"

#include "data/UDataFile.h"
#include "data/UEinteilungBasics.h"
#include "data/UProjektData.h"
#include "data/USchuelerData.h"

#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

const QStringList kSurnames{
    QStringLiteral("Müller"), QStringLiteral("Schäfer"), QStringLiteral("Köhler"), QStringLiteral("Groß"),
    QStringLiteral("Weiß"), QStringLiteral("Jäger"), QStringLiteral("Bäcker"), QStringLiteral("Öztürk"),
    QStringLiteral("Krüger"), QStringLiteral("Schröder"), QStringLiteral("Möller"), QStringLiteral("Hoffmann"),
    QStringLiteral("Meier"), QStringLiteral("Schulz"), QStringLiteral("Fischer"), QStringLiteral("Wagner"),
    QStringLiteral("Becker"), QStringLiteral("Schmitt"), QStringLiteral("Löwe"), QStringLiteral("Brückner"),
    QStringLiteral("Yılmaz-Ünal"), QStringLiteral("Dürr"), QStringLiteral("Hübner"), QStringLiteral("Zimmermann"),
};
const QStringList kFirstNames{
    QStringLiteral("Jürgen"), QStringLiteral("Özlem"), QStringLiteral("Lea"), QStringLiteral("Jörg"),
    QStringLiteral("Björn"), QStringLiteral("Zoë"), QStringLiteral("Anna"), QStringLiteral("Lukas"),
    QStringLiteral("Mia"), QStringLiteral("Käthe"), QStringLiteral("Noah"), QStringLiteral("Sören"),
    QStringLiteral("Ben"), QStringLiteral("Emma"), QStringLiteral("Günther"), QStringLiteral("René"),
    QStringLiteral("Maximilian"), QStringLiteral("Chantal"), QStringLiteral("Ömer"), QStringLiteral("Lüsa"),
};

// Draws project numbers 1..n with weights 1/k^0.9: a few projects are wanted
// by many pupils.
class TSkewedPick {
public:
    explicit TSkewedPick(int n)
    {
        double sum = 0;
        FCumulative.reserve(size_t(n));
        for (int k = 1; k <= n; ++k) {
            sum += 1.0 / std::pow(double(k), 0.9);
            FCumulative.push_back(sum);
        }
    }
    int operator()(QRandomGenerator& rng) const
    {
        const double x = rng.generateDouble() * FCumulative.back();
        return int(std::lower_bound(FCumulative.begin(), FCumulative.end(), x) - FCumulative.begin()) + 1;
    }

private:
    std::vector<double> FCumulative;
};

} // namespace

void GenerateSchool(const TSchoolSpec& school, TProjektData& Pro, TSchuelerData& Sch)
{
    QRandomGenerator rng(school.seed);
    const int projects = std::clamp(school.projects, 1, 255);
    Pro.ClearData();
    Sch.ClearData();

    // Popularity follows a shuffled order of the project numbers.
    std::vector<int> byPopularity(static_cast<size_t>(projects));
    for (int k = 0; k < projects; ++k)
        byPopularity[size_t(k)] = k + 1;
    std::shuffle(byPopularity.begin(), byPopularity.end(), std::mt19937(school.seed));

    const int capacity = std::max(4, int(1.15 * school.pupils / projects));
    for (int k = 1; k <= projects; ++k) {
        auto* p = new TProjekt(k);
        p->name = QStringLiteral("Projekt %1 %2").arg(k).arg(kSurnames.at(k % kSurnames.size()));
        p->jgmin = 1 + int(rng.bounded(9));
        p->jgmax = std::min(13, p->jgmin + 3 + int(rng.bounded(8)));
        p->teilnmax = capacity / 2 + int(rng.bounded(quint32(capacity)));
        p->teilnmin = std::min(p->teilnmax, 3 + int(rng.bounded(quint32(std::max(1, capacity / 3)))));
        const int g = int(rng.bounded(100));
        p->weib = g >= 7;
        p->maenn = g < 7 || g >= 14;
        p->gesp = rng.bounded(100) < 2;
        Pro.add(p);
    }

    const TSkewedPick pick(projects);
    Sch.reserve(school.pupils);
    for (int i = 0; i < school.pupils; ++i) {
        auto* s = new TSchueler;
        s->name = kSurnames.at(rng.bounded(int(kSurnames.size()))) + QStringLiteral(", ")
                  + kFirstNames.at(rng.bounded(int(kFirstNames.size())));
        s->geschl = rng.bounded(2) == 1;
        s->jgst = 5 + int(rng.bounded(9));
        const char16_t letter = char16_t((rng.bounded(10) == 0 ? 'a' : 'A') + rng.bounded(8));
        s->abt = QString(QChar(letter));
        const int wanted = rng.bounded(20) == 0 ? 2 + int(rng.bounded(3)) : 5;
        for (int r = 1; r <= wanted; ++r) {
            int nr = 0;
            for (int tries = 0; tries < 20; ++tries) {
                nr = byPopularity[size_t(pick(rng) - 1)];
                bool taken = false;
                for (int q = 1; q < r; ++q)
                    taken = taken || s->wahl[q] == nr;
                if (!taken)
                    break;
            }
            s->wahl[r] = nr;
        }
        const int state = int(rng.bounded(100));
        if (state == 0)
            s->fest = true;
        else if (state == 1)
            s->setHand(1 + int(rng.bounded(quint32(wanted))));
        if (school.assigned) {
            for (int r = 1; r <= 5; ++r) {
                const int nr = s->wahl[r];
                if (nr != 0 && isEintPossible(*s, *Pro.getNr(nr))) {
                    s->zuteil = nr;
                    break;
                }
            }
        }
        Sch.add(s);
    }
}

bool WriteSchoolFiles(const TSchoolSpec& school, const QString& proFile, const QString& einFile)
{
    TProjektData pro;
    TSchuelerData sch;
    GenerateSchool(school, pro, sch);
    bool ok = true;
    {
        TDataFile f(ft_proj, proFile);
        ok = f.OpenWrite();
        if (ok) {
            f.Write(pro);
            f.Close();
        }
    }
    if (ok) {
        TDataFile f(ft_teil, einFile);
        ok = f.OpenWrite();
        if (ok) {
            f.Write(sch);
            f.Close();
        }
    }
    sch.ClearData();
    pro.ClearData();
    delete pro.getNr0();
    return ok;
}
