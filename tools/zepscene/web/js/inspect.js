// What a mover or a contact holds, as zepscene prints it in its pass table;
// shown on hover, kept on click.
function moverText(run, pass, m) {
  const at = moverSlot(run, pass, m);
  const head = `mover ${run.movers[m]}, ${passHeading(run, pass)}, pass ${pass + 1}`;
  if (at < 0) return `${head}\nnot active in this pass`;
  const count = run.counts[pass * run.movers.length + m];
  return `${head}\nat ${formatVec(run.frames, at)}\nwanted ${formatVec(run.frames, at + 3)}\n` +
    `radii ${formatVec(run.frames, at + 6)}\n${count === 0 ? "no" : count} contact${count === 1 ? "" : "s"}`;
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
    const body = this.raycaster.intersectObject(this.view.movers.bodies)[0];
    return body ? { kind: "mover", item: body.instanceId } : null;
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
