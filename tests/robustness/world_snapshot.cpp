#include "robustness/world_snapshot.h"

#include <sstream>

#include "support/bits.h"
#include "support/world_view.h"
#include "world/contact.h"
#include "world/rules.h"
#include "world/system.h"

namespace zeptest {

namespace {

using namespace zep;

std::ostream& operator<<(std::ostream& out, const Vec3& v) {
    return out << std::hex << bitsOf(v.x) << ',' << bitsOf(v.y) << ',' << bitsOf(v.z) << std::dec << ' ';
}

void describeShape(std::ostream& out, CollisionShape* shape) {
    if (const EllipsoidShape* ellipsoid = asEllipsoid(shape)) {
        out << "  ellipsoid " << ellipsoid->radii << '\n';
        return;
    }
    const MeshShape* mesh = asMesh(shape);
    out << "  mesh of " << mesh->triangleCount << ":";
    for (const MeshTriangle* t = mesh->trianglesHead; t; t = t->next)
        out << ' ' << t->corners.corner1 << t->corners.corner2 << t->corners.corner3 << ';';
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

}  // namespace zeptest
