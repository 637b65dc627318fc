#include "support/invariants.h"

#include "world/character.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <utility>

#include "api/state.h"
#include "base/same_bits.h"
#include "support/bits.h"
#include "world/activation.h"
#include "world/character.h"
#include "world/contact.h"
#include "world/object.h"
#include "world/rules.h"
#include "world/shapes.h"
#include "world/system.h"
#include "world/world.h"

namespace zeptest {

namespace {

using namespace zep;

// Far more records than any test or fuzz input makes; a walk this long has
// met a cycle.
constexpr size_t kLongestWalk = 10'000'000;

class Report {
public:
    std::vector<std::string> lines;

    template <class... Parts>
    void fail(const Parts&... parts) {
        std::ostringstream out;
        (out << ... << parts);
        lines.push_back(out.str());
    }
};

// Walks a doubly linked list from head and returns its records in order,
// reporting every link that does not point back, a tail that is not the last
// record, and a walk that never ends.
template <auto Prev, auto Next, class T>
std::vector<T*> walkList(T* head, T* tail, const char* name, Report& report) {
    std::vector<T*> records;
    T* before = nullptr;
    for (T* item = head; item; item = item->*Next) {
        if (records.size() == kLongestWalk) {
            report.fail(name, ": no end after ", kLongestWalk, " records (a cycle)");
            return records;
        }
        if (item->*Prev != before) report.fail(name, ": record ", records.size(), " has a wrong prev");
        records.push_back(item);
        before = item;
    }
    if (before != tail) report.fail(name, ": tail is not the last record");
    return records;
}

template <class T>
std::vector<T*> walkList(T* head, T* tail, const char* name, Report& report) {
    return walkList<&T::prev, &T::next>(head, tail, name, report);
}

// A set of live records for membership tests: a sorted array, far cheaper
// to fill and to ask than a node-based set when it is rebuilt after every
// command.
template <class T>
class RecordSet {
public:
    RecordSet() = default;
    explicit RecordSet(const std::vector<T*>& records) : items_(records.begin(), records.end()) { sort(); }
    void insert(const T* item) { items_.push_back(item); }
    void sort() { std::sort(items_.begin(), items_.end()); }
    bool count(const T* item) const { return std::binary_search(items_.begin(), items_.end(), item); }
    size_t size() const { return items_.size(); }
    const std::vector<const T*>& items() const { return items_; }
    // True when some record was inserted twice (after sort).
    bool hasDuplicate() const { return std::adjacent_find(items_.begin(), items_.end()) != items_.end(); }

private:
    std::vector<const T*> items_;
};

struct LiveRecords {
    RecordSet<CollisionObject> objects;
    RecordSet<CollisionBody> bodies;
    RecordSet<MeshShape> meshes;
    RecordSet<Contact> contacts;
};

// Which table slots, triangle lists and rule chains a check looks at: all of
// them, or only those a command can have changed.
struct Scope {
    bool full = true;
    std::vector<int32_t> touched;  // in range, sorted, each once

    bool touches(int32_t number) const {
        return full || std::binary_search(touched.begin(), touched.end(), number);
    }
    // Visits the table's used slots in scope.
    template <class Entry, class Visit>
    void forEachSlot(Entry* const (&table)[kObjectTableSize], Visit visit) const {
        auto slot = [&](int number) { if (table[number]) visit(number, table[number]); };
        if (full)
            for (int number = 0; number < kObjectTableSize; ++number) slot(number);
        else
            for (int32_t number : touched) slot(number);
    }
};

void checkObjects(const Scope& scope, LiveRecords& live, Report& report) {
    const auto objects = walkList(zep::world().objectListHead, zep::world().objectListTail, "objectList", report);
    live.objects = RecordSet<CollisionObject>(objects);
    for (const CollisionObject* object : objects) {
        if (!objectNumberInRange(object->objectNumber)) {
            report.fail("object numbered ", object->objectNumber, " is on objectList");
            continue;
        }
        if (objectAt(zep::world(), object->objectNumber) != object)
            report.fail("objectTable[", object->objectNumber, "] does not name its object");
        if (!object->body || object->body->objectNumber != object->objectNumber)
            report.fail("object ", object->objectNumber, " has no body of its number");
    }
    scope.forEachSlot(zep::world().objectTable, [&](int number, const CollisionObject* object) {
        if (!live.objects.count(object))
            report.fail("objectTable[", number, "] names an object not on objectList");
        else if (object->objectNumber != number)
            report.fail("objectTable[", number, "] names object ", object->objectNumber);
    });
}

// The blocks follow one another without a gap and hold the count, the last
// at least one triangle: room a failed command reserved is given back.
void checkTriangles(const MeshShape* mesh, int32_t number, Report& report) {
    const zep::TriangleStore& store = mesh->triangles;
    int32_t next = 0;
    for (int32_t i = 0; i < store.blockCount; ++i) {
        if (store.blocks[i].first != next) report.fail("a triangle block of object ", number, " starts at ", store.blocks[i].first);
        next += store.blocks[i].capacity;
    }
    if (store.count > next || (store.blockCount > 0 && store.count <= store.blocks[store.blockCount - 1].first))
        report.fail("a mesh of object ", number, " counts ", store.count, " triangles in blocks ending at ", next);
}

void checkShapes(const CollisionBody* body, bool withTriangles, LiveRecords& live, Report& report) {
    const auto shapes = walkList(body->shapesHead, body->shapesTail, "shapes", report);
    for (const CollisionShape* shape : shapes) {
        if (shape->body != body)
            report.fail("a shape of object ", body->objectNumber, " names another body");
        // The header begins the concrete record, so self is the header itself.
        if (shape->self != static_cast<const void*>(shape))
            report.fail("a shape of object ", body->objectNumber, " has a wrong self");
        if (shape->kind != kShapeEllipsoid && shape->kind != kShapeMesh)
            report.fail("a shape of object ", body->objectNumber, " has kind ", shape->kind);
        const MeshShape* mesh = asMesh(const_cast<CollisionShape*>(shape));
        if (!mesh) continue;
        live.meshes.insert(mesh);
        if (withTriangles) checkTriangles(mesh, body->objectNumber, report);
    }
}

void checkBodies(const Scope& scope, LiveRecords& live, Report& report) {
    const auto bodies = walkList(zep::world().bodyListHead, zep::world().bodyListTail, "bodyList", report);
    live.bodies = RecordSet<CollisionBody>(bodies);
    if (bodies.size() != live.objects.size())
        report.fail("bodyList holds ", bodies.size(), " bodies for ", live.objects.size(), " objects");
    for (const CollisionObject* object : live.objects.items())
        if (object->body && !live.bodies.count(object->body))
            report.fail("the body of object ", object->objectNumber, " is not on bodyList");
    for (const CollisionBody* body : bodies) {
        if (body->active > 1) report.fail("object ", body->objectNumber, " has active ", int(body->active));
        checkShapes(body, scope.touches(body->objectNumber), live, report);
    }
    live.meshes.sort();
}

void checkActivation(const Scope& scope, const LiveRecords& live, Report& report) {
    const auto entries = walkList(zep::world().activationListHead, zep::world().activationListTail, "activationList", report);
    const RecordSet<ActivationEntry> onList(entries);
    RecordSet<CollisionObject> activated;
    for (const ActivationEntry* entry : entries) {
        const CollisionObject* object = entry->object;
        if (!live.objects.count(object)) {
            report.fail("an activation entry names an object that is gone");
            continue;
        }
        activated.insert(object);
        if (zep::world().activationTable[object->objectNumber] != entry)
            report.fail("activationTable[", object->objectNumber, "] does not name its entry");
    }
    activated.sort();
    if (activated.hasDuplicate()) report.fail("an object is activated twice");
    scope.forEachSlot(zep::world().activationTable, [&](int number, const ActivationEntry* entry) {
        if (!onList.count(entry) || entry->object->objectNumber != number)
            report.fail("activationTable[", number, "] names no entry of that object");
    });
    for (const CollisionBody* body : live.bodies.items()) {
        const bool hasEntry = zep::world().activationTable[body->objectNumber] != nullptr;
        if (bool(body->active) != hasEntry)
            report.fail("object ", body->objectNumber, " active ", int(body->active),
                        hasEntry ? " with" : " without", " an activation entry");
    }
    if (zep::world().stackCursor && !onList.count(zep::world().stackCursor))
        report.fail("stackCursor is off the activation list");
}

void checkContactsOf(const CollisionBody* body, LiveRecords& live, Report& report) {
    const auto contacts = walkList(body->contactsHead, body->contactsTail, "contacts", report);
    if (contacts.size() != size_t(body->contactCount))
        report.fail("object ", body->objectNumber, " counts ", body->contactCount, " contacts but lists ", contacts.size());
    // The solver never meets a triangle of a mesh twice in one pass: that is
    // what bounds its loop by the mesh's triangle count.
    std::vector<std::pair<const MeshShape*, int32_t>> met;
    for (const Contact* contact : contacts) {
        live.contacts.insert(contact);
        if (contact->owner != body) report.fail("a contact of object ", body->objectNumber, " names another owner");
        if (contact->hitKind < kHitFace || contact->hitKind > kHitVertex)
            report.fail("a contact of object ", body->objectNumber, " has hit kind ", contact->hitKind);
        const MeshShape* mesh = contact->meshShape;
        if (!mesh) continue;
        if (!live.meshes.count(mesh)) {
            report.fail("a contact of object ", body->objectNumber, " names a mesh that is gone");
            continue;
        }
        if (contact->triangleNumber < 1 || contact->triangleNumber > mesh->triangles.count)
            report.fail("a contact of object ", body->objectNumber, " names triangle ",
                        contact->triangleNumber, " of a mesh of ", mesh->triangles.count);
        met.emplace_back(mesh, contact->triangleNumber);
    }
    std::sort(met.begin(), met.end());
    // A character's pass is several chains (its legs), each of which may
    // meet what an earlier one met.
    if (!body->character && std::adjacent_find(met.begin(), met.end()) != met.end())
        report.fail("object ", body->objectNumber, " met a triangle of one mesh twice");
}

void checkReferrers(const LiveRecords& live, Report& report) {
    size_t referring = 0;
    for (const MeshShape* mesh : live.meshes.items()) {
        const auto referrers = walkList<&Contact::referrerPrev, &Contact::referrerNext>(
            mesh->referrersHead, mesh->referrersTail, "referrers", report);
        if (referrers.size() != size_t(mesh->referrerCount))
            report.fail("a mesh counts ", mesh->referrerCount, " referring contacts but lists ", referrers.size());
        for (const Contact* contact : referrers) {
            ++referring;
            if (!live.contacts.count(contact))
                report.fail("a mesh lists a contact that is on no body");
            else if (contact->meshShape != mesh)
                report.fail("a mesh lists a contact that names another mesh");
        }
    }
    size_t naming = 0;
    for (const Contact* contact : live.contacts.items()) naming += contact->meshShape != nullptr;
    if (naming != referring)
        report.fail(naming, " contacts name a mesh but meshes list ", referring);
}

void checkContacts(LiveRecords& live, Report& report) {
    for (const CollisionBody* body : live.bodies.items()) checkContactsOf(body, live, report);
    live.contacts.sort();
    checkReferrers(live, report);
}

void checkChain(int type, size_t& chained, Report& report) {
    const auto chain = walkList<&CollisionRule::chainPrev, &CollisionRule::chainNext>(
        zep::world().ruleChainHeads[type], zep::world().ruleChainTails[type], "rule chain", report);
    chained += chain.size();
    for (const CollisionRule* rule : chain)
        if (rule->typeA != type) report.fail("the chain of type ", type, " holds a rule of type ", rule->typeA);
}

void checkRules(const Scope& scope, Report& report) {
    const auto rules = walkList(zep::world().ruleListHead, zep::world().ruleListTail, "ruleList", report);
    for (const CollisionRule* rule : rules)
        if (uint32_t(rule->typeA) > kMaxRuleType || uint32_t(rule->typeB) > kMaxRuleType ||
            rule->shapeKindA != kShapeEllipsoid || rule->shapeKindB != kShapeMesh)
            report.fail("rule (", rule->typeA, ", ", rule->typeB, ") is malformed");
    size_t chained = 0;
    if (scope.full) {
        for (int type = 0; type < kRuleTableSize; ++type) checkChain(type, chained, report);
    } else {
        // Only the chains the rules name; a rule on another chain, or none,
        // leaves the counts apart.
        std::vector<int> types;
        for (const CollisionRule* rule : rules)
            if (uint32_t(rule->typeA) <= kMaxRuleType) types.push_back(rule->typeA);
        std::sort(types.begin(), types.end());
        types.erase(std::unique(types.begin(), types.end()), types.end());
        for (int type : types) checkChain(type, chained, report);
    }
    if (chained != rules.size()) report.fail(rules.size(), " rules but ", chained, " in chains");
}

void checkStopped(Report& report) {
    if (isStarted(zep::world())) return;
    if (zep::world().objectListHead || zep::world().bodyListHead || zep::world().ruleListHead || zep::world().activationListHead || zep::world().stackCursor)
        report.fail("the system is stopped but the world is not empty");
}

std::vector<std::string> violations(const Scope& scope) {
    Report report;
    LiveRecords live;
    checkObjects(scope, live, report);
    checkBodies(scope, live, report);
    checkActivation(scope, live, report);
    checkContacts(live, report);
    checkRules(scope, report);
    checkStopped(report);
    return report.lines;
}

// ---- The snapshot

std::ostream& operator<<(std::ostream& out, const Vec3& v) {
    return out << std::hex << bitsOf(v.x) << ',' << bitsOf(v.y) << ',' << bitsOf(v.z) << std::dec << ' ';
}

void describeShape(std::ostream& out, CollisionShape* shape) {
    if (const EllipsoidShape* ellipsoid = asEllipsoid(shape)) {
        out << "  ellipsoid " << ellipsoid->radii << '\n';
        return;
    }
    const MeshShape* mesh = asMesh(shape);
    out << "  mesh of " << mesh->triangles.count << ":";
    for (const TriangleCorners& t : mesh->triangles) out << ' ' << t.corner1 << t.corner2 << t.corner3 << ';';
    out << '\n';
}

void describeContact(std::ostream& out, const Contact& c) {
    out << "  contact " << c.meshShape << ' ' << c.triangleNumber << ' ' << c.hitKind << ' ' << c.point
        << c.normal << c.center << c.slideDestination << '\n';
}

void describeBody(std::ostream& out, const CollisionBody& body) {
    out << "body " << body.objectNumber << " type " << body.collisionType << " active " << int(body.active)
        << " at " << body.previousPosition << body.currentPosition << '\n';
    for (CollisionShape* shape = body.shapesHead; shape; shape = shape->next) describeShape(out, shape);
    for (const Contact* contact = body.contactsHead; contact; contact = contact->next)
        describeContact(out, *contact);
}

void describeActivation(std::ostream& out) {
    out << "activated:";
    for (const ActivationEntry* entry = zep::world().activationListHead; entry; entry = entry->next)
        out << ' ' << entry->object->objectNumber << (entry == zep::world().stackCursor ? "<" : "");
    out << '\n';
}

}  // namespace

std::vector<std::string> worldViolations() { return violations(Scope{}); }

std::vector<std::string> liveViolations(const std::vector<int32_t>& touched) {
    Scope scope{false, {}};
    for (int32_t number : touched)
        if (objectNumberInRange(number)) scope.touched.push_back(number);
    std::sort(scope.touched.begin(), scope.touched.end());
    scope.touched.erase(std::unique(scope.touched.begin(), scope.touched.end()), scope.touched.end());
    return violations(scope);
}

std::vector<std::string> passViolations() {
    Report report;
    for (const CollisionBody* body = zep::world().bodyListHead; body; body = body->next) {
        if (body->processed != body->active)
            report.fail("object ", body->objectNumber, " processed ", int(body->processed), " active ",
                        int(body->active));
        if (body->passIncomplete) {
            if (!sameBits(body->currentPosition, body->previousPosition))
                report.fail("object ", body->objectNumber, " moved although the pass lost part of its move");
            continue;
        }
        if (body->character && body->active) {
            if (!sameBits(body->currentPosition, body->character->endOfPass))
                report.fail("character ", body->objectNumber, " is not where its legs ended");
            continue;
        }
        if (!body->contactsTail) continue;
        if (!body->active) report.fail("inactive object ", body->objectNumber, " holds contacts");
        else if (!sameBits(body->currentPosition, body->contactsTail->slideDestination))
            report.fail("object ", body->objectNumber, " is not at its last slide destination");
    }
    return report.lines;
}

std::string worldSnapshot() {
    std::ostringstream out;
    out << "started " << isStarted(zep::world()) << "\nobjects:";
    for (const CollisionObject* object = zep::world().objectListHead; object; object = object->next)
        out << ' ' << object->objectNumber;
    out << '\n';
    for (const CollisionBody* body = zep::world().bodyListHead; body; body = body->next) describeBody(out, *body);
    describeActivation(out);
    out << "rules:";
    for (const CollisionRule* rule = zep::world().ruleListHead; rule; rule = rule->next)
        out << ' ' << rule->typeA << '>' << rule->typeB;
    out << '\n';
    return out.str();
}

std::string describe(const std::vector<std::string>& violations) {
    std::string text;
    for (const std::string& line : violations) text += line + "\n";
    return text;
}

}  // namespace zeptest
