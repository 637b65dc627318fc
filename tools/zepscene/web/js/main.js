// The page: reads the run, builds the scene, and draws only when something
// changed (a drag, a new pass), so an idle page costs nothing.
const BACKGROUND = 0xfafaf7;

class Viewer {
  constructor(run) {
    this.run = run;
    this.pass = 0;
    const canvas = document.getElementById("canvas");
    this.renderer = new THREE.WebGLRenderer({ canvas, antialias: true, preserveDrawingBuffer: true });
    this.renderer.setPixelRatio(window.devicePixelRatio);
    this.renderer.setClearColor(BACKGROUND);
    this.scene = new THREE.Scene();
    this.scene.add(new THREE.AmbientLight(0xffffff, 1.6), this.sun());
    this.camera = new THREE.PerspectiveCamera(45, 1, 0.01, 1000);
    this.meshes = buildMeshes(run);
    this.scene.add(this.meshes);
    this.movers = new MoverLayer(run, this.scene);
    this.contacts = new ContactLayer(run, this.scene, this.largestRadius());
    this.orbit = new OrbitView(this.camera, canvas, () => this.requestDraw());
    this.orbit.frame(this.viewBox());
    this.inspector = new Inspector(this, document.getElementById("info"));
    this.timeline = new Timeline(this);
    this.markNotes = listNotes(this, document.getElementById("notes"));
    new ResizeObserver(() => this.resize()).observe(canvas.parentElement);
    this.resize();
    this.setPass(0);
  }

  sun() {
    const light = new THREE.DirectionalLight(0xffffff, 1.4);
    light.position.set(0.4, 1, 0.7);
    return light;
  }

  largestRadius() {
    let largest = 0;
    for (let i = 6; i < this.run.frames.length; i += MOVER_FLOATS)
      if (!Number.isNaN(this.run.frames[i])) largest = Math.max(largest, this.run.frames[i], this.run.frames[i + 1], this.run.frames[i + 2]);
    return largest || 1;
  }

  // The movers' paths with room around them; the meshes if nothing moves.
  viewBox() {
    const box = this.movers.pathBox();
    if (!box.isEmpty()) return box.expandByScalar(this.largestRadius() * 2);
    return new THREE.Box3().setFromObject(this.scene);
  }

  setPass(pass) {
    if (!this.run.passes.length) return this.requestDraw();
    this.pass = Math.min(this.run.passes.length - 1, Math.max(0, pass));
    this.movers.show(this.pass);
    this.contacts.show(this.pass);
    this.timeline.show(this.pass);
    this.inspector.refresh();
    this.markNotes(this.pass);
    this.requestDraw();
  }

  resize() {
    const element = this.renderer.domElement.parentElement;
    this.renderer.setSize(element.clientWidth, element.clientHeight, false);
    this.camera.aspect = element.clientWidth / Math.max(1, element.clientHeight);
    this.camera.updateProjectionMatrix();
    this.requestDraw();
  }

  setEveryBackFace(on) {
    showEveryBackFace(this.meshes, on);
    this.requestDraw();
  }

  requestDraw() {
    if (this.drawPending) return;
    this.drawPending = true;
    requestAnimationFrame(() => {
      this.drawPending = false;
      this.draw();
    });
  }

  draw() {
    this.renderer.render(this.scene, this.camera);
  }
}

function legend(element) {
  const rows = SURFACE_COLOURS.map(([name, hex]) => [`background:${hex}`, `front face: ${name}`]);
  rows.push(["", "back face a mover went through: wound the wrong way? (other back faces faint)"]);
  for (const [kind, hex] of Object.entries(KIND_COLOURS))
    if (kind !== "unknown") rows.push([`background:${hex};border-radius:7px`, `contact on a ${kind} (line: normal)`]);
  rows.forEach(([style, text], i) => {
    const swatch = document.createElement("span");
    swatch.className = i === SURFACE_COLOURS.length ? "swatch back" : "swatch";
    swatch.style.cssText = style;
    const label = document.createElement("span");
    label.textContent = text;
    element.append(swatch, label);
  });
}

const BG = [(BACKGROUND >> 16) & 255, (BACKGROUND >> 8) & 255, BACKGROUND & 255];
const HATCH = [191, 28, 125];

// How many pixels of the canvas, drawn now, pass the test.
function countPixels(viewer, test) {
  viewer.draw();
  const gl = viewer.renderer.getContext();
  const width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
  const pixels = new Uint8Array(width * height * 4);
  gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
  let count = 0;
  for (let i = 0; i < pixels.length; i += 4) if (test(pixels[i], pixels[i + 1], pixels[i + 2])) ++count;
  return { painted: count, total: width * height };
}

// Hooks for the browser tests (and a console user): go to a pass, select a
// mover as a click would, count the drawn pixels, time frames.
function testHooks(viewer) {
  return {
    passCount: viewer.run.passes.length,
    setPass: (pass) => viewer.setPass(pass - 1),
    selectMover(object) {
      const m = viewer.run.movers.indexOf(object);
      viewer.inspector.pinned = m < 0 ? null : { kind: "mover", item: m };
      viewer.inspector.show(viewer.inspector.pinned);
      return document.getElementById("info").textContent;
    },
    // Pixels of the canvas that differ from the background, drawn now.
    paintedPixels() {
      return countPixels(viewer, (r, g, b) => Math.abs(r - BG[0]) + Math.abs(g - BG[1]) + Math.abs(b - BG[2]) > 6);
    },
    // Pixels in the hatch's magenta, drawn now.
    hatchedPixels() {
      return countPixels(viewer, (r, g, b) => Math.abs(r - HATCH[0]) + Math.abs(g - HATCH[1]) + Math.abs(b - HATCH[2]) < 40);
    },
    crossedTriangles: crossedCount(viewer.run),
    setEveryBackFace: (on) => viewer.setEveryBackFace(on),
    // Where mover `object` is on the page (CSS pixels) in the current pass:
    // its centre and the point at `fraction` of its radius to the right.
    moverOnPage(object, fraction) {
      const m = viewer.run.movers.indexOf(object), at = moverSlot(viewer.run, viewer.pass, m);
      if (at < 0) return null;
      const f = viewer.run.frames, right = new THREE.Vector3().setFromMatrixColumn(viewer.camera.matrixWorld, 0);
      const centre = new THREE.Vector3(f[at], f[at + 1], f[at + 2]);
      const edge = centre.clone().addScaledVector(right, fraction * Math.min(f[at + 6], f[at + 7], f[at + 8]));
      const rect = viewer.renderer.domElement.getBoundingClientRect();
      const onPage = (v) => { v.project(viewer.camera); return [rect.left + (v.x + 1) / 2 * rect.width, rect.top + (1 - v.y) / 2 * rect.height]; };
      return { centre: onPage(centre), edge: onPage(edge) };
    },
    // Mean milliseconds to draw one frame while orbiting, the GPU waited for.
    frameTime(frames) {
      const gl = viewer.renderer.getContext(), pixel = new Uint8Array(4);
      const start = performance.now();
      for (let i = 0; i < frames; ++i) {
        viewer.orbit.azimuth += 0.02;
        viewer.orbit.update();
        viewer.draw();
        gl.readPixels(0, 0, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
      }
      return (performance.now() - start) / frames;
    },
  };
}

async function start() {
  const status = document.getElementById("status");
  try {
    const started = performance.now();
    const run = await loadRun(JSON.parse(document.getElementById("zep-data").textContent));
    const viewer = new Viewer(run);
    legend(document.getElementById("legend"));
    document.getElementById("every-back-face").addEventListener("change", (e) => viewer.setEveryBackFace(e.target.checked));
    for (const [id, name] of [["reset-view", "reset"], ["top-view", "top"], ["side-view", "side"]])
      document.getElementById(id).addEventListener("click", () => viewer.orbit.preset(name));
    document.getElementById("summary").textContent =
      `${run.passes.length} passes, ${run.movers.length} movers, ${run.points.length / 3} contacts`;
    document.getElementById("level").textContent = levelText(run.level);
    status.textContent = "";
    window.zepView = testHooks(viewer);
    window.zepView.loadMs = performance.now() - started;
    document.body.dataset.ready = "1";
  } catch (error) {
    status.textContent = `cannot show the run: ${error.message}`;
    console.error(error);
  }
}

start();
