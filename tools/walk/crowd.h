// A crowd of walkers on one level for one seed: the level placed as mesh
// objects, the walkers dropped at open places, and each frame one move per
// walker, one collision pass, and the checks of every walker's pass.
#pragma once

#include <functional>
#include <vector>

#include "level.h"
#include "library.h"
#include "rng.h"
#include "tally.h"
#include "walker.h"

namespace walk {

struct WalkSettings {
    int frames = 2000;
    int walkers = 200;
    unsigned long seed = 1;
    bool needRoof = true;   // spawn only under a ceiling or the sky (sealed levels)
    int levelPieces = 1;    // mesh objects the solid level is split into
    bool characters = false;  // walkers are characters (SetCharacterZEP) with a player's limits
    unsigned long traceSeed = 0;  // in the run of this seed,
    int traceWalker = -1;   // print every leg of this walker's pass ...
    int traceFrame = -1;    // ... in this frame
};

class Crowd {
public:
    Crowd(const Level& level, const WalkSettings& settings);
    ~Crowd();
    Crowd(const Crowd&) = delete;
    Crowd& operator=(const Crowd&) = delete;

    void frame(int index);
    const Tally& tally() const { return tally_; }
    Rng& rng() { return rng_; }
    int walkerCount() const { return int(walkers_.size()); }

    // For the churn mode: the walker freed and a new one dropped under
    // another object number; a level piece freed and built again in place.
    void replaceWalker(int index);
    void rebuildPiece(int piece);
    int pieceCount() const { return int(pieces_.size()); }

private:
    D3 stepFor(Walker& walker);
    void judge(int index, int frame, D3 start, D3 target);
    struct Reaction {
        bool blocked = false;  // a wall or steep slope faced the heading
        bool onSky = false;    // touched the sky from above
        bool onFloor = false;  // met a floor
    };
    Reaction react(Walker& walker, const std::vector<Contact>& contacts);
    void noteOverlap(Walker& walker, int index, int frame, D3 start, const std::vector<Contact>& contacts, D3 end);
    OverlapCause overlapCause(const Walker& walker, D3 start, const std::vector<Contact>& contacts,
                              const std::vector<uint32_t>& fresh) const;
    void noteFall(Walker& walker, D3 start, D3 end, bool onFloor);
    void noteEscape(Walker& walker, int index, int frame, bool onSky);
    void noteCrossing(Walker& walker, int index, int frame, const std::vector<D3>& path);
    void noteStuck(Walker& walker, int index, int frame, double moved, bool blocked,
                   const std::vector<Contact>& contacts);
    long solidIndex(const Contact& contact) const;  // in level_.solid, or -1
    StuckCause stuckCause(const Walker& walker, const std::vector<Contact>& contacts) const;
    void trace(D3 start, D3 target, const std::vector<Contact>& contacts, const std::vector<D3>& path) const;
    bool dropWalker(Walker& walker);
    void addCase(int index, int frame, const char* what);

    const Level& level_;
    WalkSettings settings_;
    Rng rng_;
    double speed_, gravity_, maxFall_;
    std::vector<Walker> walkers_;
    std::vector<std::vector<zepscene::Triangle>> pieces_;
    Tally tally_;
};

// The whole run: a crowd built, `settings.frames` frames, the tally. The
// callback, if any, runs before each frame (the churn mode's changes).
Tally walkLevel(const Level& level, const WalkSettings& settings,
                const std::function<void(Crowd&, int)>& beforeFrame = {});

}  // namespace walk
