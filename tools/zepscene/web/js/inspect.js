// What a mover or a contact holds, as zepscene prints it in its pass table;
// shown on hover, kept on click.
// A character's ground after the pass (CharacterGroundZEP).
const GROUND_NAMES = { 0: "in the air", 1: "on walkable ground", 2: "on steep ground" };

function moverText(run, pass, m) {
  const at = moverSlot(run, pass, m);
  const head = `mover ${run.movers[m]}, ${passHeading(run, pass)}, pass ${pass + 1}`;
  if (at < 0) return `${head}\nnot active in this pass`;
  const count = run.counts[pass * run.movers.length + m];
  const ground = GROUND_NAMES[run.frames[at + 9]];
  return `${head}\nat ${formatVec(run.frames, at)}\nwanted ${formatVec(run.frames, at + 3)}\n` +
    `radii ${formatVec(run.frames, at + 6)}\n${count === 0 ? "no" : count} contact${count === 1 ? "" : "s"}` +
    (ground ? `\ncharacter ${ground}` : "");
}

function contactText(run, pass, { mover, index, at }) {
  return `mover ${run.movers[mover]}, contact ${index + 1}, ${passHeading(run, pass)}, pass ${pass + 1}\n` +
    `object ${run.objects[at]}  triangle ${run.triangles[at]}\n` +
    `point ${formatVec(run.points, at * 3)}\nnormal ${formatVec(run.normals, at * 3)}\n` +
    `kind ${CONTACT_KINDS[run.kinds[at]]} (from where the point lies on the triangle)`;
}

class Inspector {
  constructor(view, infoElement) {
    Object.assign(this, { view, infoElement, pinned: null });
    this.raycaster = new THREE.Raycaster();
    const canvas = view.renderer.domElement;
    let down = null;
    canvas.addEventListener("pointerdown", (e) => (down = { x: e.clientX, y: e.clientY }));
    canvas.addEventListener("pointermove", (e) => { if (!this.pinned && e.buttons === 0) this.showAt(e, false); });
    canvas.addEventListener("click", (e) => {
      if (down && Math.hypot(e.clientX - down.x, e.clientY - down.y) < 4) this.showAt(e, true);
    });
  }

  // What is under the pointer: a contact dot first (it is drawn on top), then a mover.
  pick(event) {
    const canvas = this.view.renderer.domElement, rect = canvas.getBoundingClientRect();
    const pointer = new THREE.Vector2(((event.clientX - rect.left) / rect.width) * 2 - 1,
      -((event.clientY - rect.top) / rect.height) * 2 + 1);
    this.raycaster.setFromCamera(pointer, this.view.camera);
    this.raycaster.params.Points.threshold = this.view.orbit.distance * 0.012;
    const dot = this.raycaster.intersectObject(this.view.contacts.dots)[0];
    if (dot) return { kind: "contact", item: this.view.contacts.shown[dot.index] };
    const mover = this.moverAlong(this.raycaster.ray);
    return mover < 0 ? null : { kind: "mover", item: mover };
  }

  // The nearest mover whose ellipsoid the ray meets anywhere, worked out
  // from its centre and radii rather than from the drawn sphere's facets,
  // and grown by a little of the view's distance, so that a mover far off
  // is still a target; -1 for none.
  moverAlong(ray) {
    const run = this.view.run, f = run.frames, slack = this.view.orbit.distance * 0.004;
    let nearest = -1, nearestAt = Infinity;
    run.movers.forEach((_, m) => {
      const at = moverSlot(run, this.view.pass, m);
      if (at < 0) return;
      const r = [f[at + 6] + slack, f[at + 7] + slack, f[at + 8] + slack];
      const o = [(ray.origin.x - f[at]) / r[0], (ray.origin.y - f[at + 1]) / r[1], (ray.origin.z - f[at + 2]) / r[2]];
      const d = [ray.direction.x / r[0], ray.direction.y / r[1], ray.direction.z / r[2]];
      // In the ellipsoid's unit-sphere space: |o + t d| = 1.
      const a = d[0] * d[0] + d[1] * d[1] + d[2] * d[2], b = o[0] * d[0] + o[1] * d[1] + o[2] * d[2];
      const c = o[0] * o[0] + o[1] * o[1] + o[2] * o[2] - 1, reach = b * b - a * c;
      if (reach < 0) return;
      const enters = c <= 0 ? 0 : (-b - Math.sqrt(reach)) / a;
      if (enters >= 0 && enters < nearestAt) [nearest, nearestAt] = [m, enters];
    });
    return nearest;
  }

  showAt(event, pin) {
    const picked = this.pick(event);
    this.pinned = pin ? picked : this.pinned;
    this.show(picked);
  }

  show(picked) {
    const run = this.view.run, pass = this.view.pass;
    if (!picked) this.infoElement.textContent = "nothing selected";
    else if (picked.kind === "mover") this.infoElement.textContent = moverText(run, pass, picked.item);
    else this.infoElement.textContent = contactText(run, pass, picked.item);
  }

  // After the pass changed: a pinned mover follows; a pinned contact is let go.
  refresh() {
    if (this.pinned && this.pinned.kind === "contact") this.pinned = null;
    this.show(this.pinned);
  }
}
