// Orbit, pan and zoom around a target point, with y up. Left drag orbits,
// right drag (or shift with the left button) pans, the wheel zooms.
class OrbitView {
  constructor(camera, element, onChange) {
    Object.assign(this, { camera, element, onChange });
    this.target = new THREE.Vector3();
    this.distance = 10;
    this.azimuth = 0.7;
    this.polar = 1.0;
    this.home = null;
    this.listen();
  }

  // Looks at box from the default angle, far enough to see all of it.
  frame(box) {
    const size = box.getSize(new THREE.Vector3()).length() || 1;
    this.home = { target: box.getCenter(new THREE.Vector3()), distance: size * 1.1 };
    this.preset("reset");
  }

  preset(name) {
    const angles = { reset: [0.7, 1.0], top: [0, 1e-4], side: [0, Math.PI / 2] }[name];
    [this.azimuth, this.polar] = angles;
    this.target.copy(this.home.target);
    this.distance = this.home.distance;
    this.update();
  }

  update() {
    const s = Math.sin(this.polar);
    const offset = new THREE.Vector3(s * Math.sin(this.azimuth), Math.cos(this.polar), s * Math.cos(this.azimuth));
    this.camera.position.copy(this.target).addScaledVector(offset, this.distance);
    this.camera.near = this.distance / 1000;
    this.camera.far = this.distance * 100;
    this.camera.lookAt(this.target);
    this.camera.updateProjectionMatrix();
    this.onChange();
  }

  pan(dx, dy) {
    const perPixel = (2 * this.distance * Math.tan((this.camera.fov * Math.PI) / 360)) / this.element.clientHeight;
    const right = new THREE.Vector3().setFromMatrixColumn(this.camera.matrix, 0);
    const up = new THREE.Vector3().setFromMatrixColumn(this.camera.matrix, 1);
    this.target.addScaledVector(right, -dx * perPixel).addScaledVector(up, dy * perPixel);
  }

  listen() {
    let last = null;
    this.element.addEventListener("contextmenu", (e) => e.preventDefault());
    this.element.addEventListener("pointerdown", (e) => {
      last = { x: e.clientX, y: e.clientY, panning: e.button === 2 || e.shiftKey };
      this.element.setPointerCapture(e.pointerId);
    });
    this.element.addEventListener("pointerup", () => (last = null));
    this.element.addEventListener("pointermove", (e) => {
      if (!last) return;
      const dx = e.clientX - last.x, dy = e.clientY - last.y;
      last.x = e.clientX;
      last.y = e.clientY;
      if (last.panning) this.pan(dx, dy);
      else {
        this.azimuth -= dx * 0.008;
        this.polar = Math.min(Math.PI - 1e-4, Math.max(1e-4, this.polar - dy * 0.008));
      }
      this.update();
    });
    this.element.addEventListener("wheel", (e) => {
      e.preventDefault();
      this.distance *= Math.exp(e.deltaY * 0.001);
      this.update();
    }, { passive: false });
  }
}
