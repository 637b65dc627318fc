// The timeline: a slider over the passes, play and pause, a step each way
// (also with the arrow keys and space), and the pass's heading.
class Timeline {
  constructor(view) {
    this.view = view;
    this.slider = document.getElementById("timeline");
    this.label = document.getElementById("frame-label");
    this.playButton = document.getElementById("play");
    this.timer = null;
    this.slider.max = String(Math.max(1, view.run.passes.length));
    this.slider.addEventListener("input", () => view.setPass(Number(this.slider.value) - 1));
    document.getElementById("step-back").addEventListener("click", () => this.step(-1));
    document.getElementById("step-forward").addEventListener("click", () => this.step(1));
    this.playButton.addEventListener("click", () => this.toggle());
    document.addEventListener("keydown", (e) => {
      if (e.key === "ArrowLeft") this.step(-1);
      else if (e.key === "ArrowRight") this.step(1);
      else if (e.key === " ") this.toggle();
      else return;
      e.preventDefault();
    });
  }

  step(by) {
    this.view.setPass(this.view.pass + by);
  }

  toggle() {
    if (this.timer) return this.pause();
    if (this.view.pass + 1 >= this.view.run.passes.length) this.view.setPass(0);
    this.playButton.textContent = "❚❚";
    this.timer = setInterval(() => {
      if (this.view.pass + 1 >= this.view.run.passes.length) this.pause();
      else this.step(1);
    }, 80);
  }

  pause() {
    clearInterval(this.timer);
    this.timer = null;
    this.playButton.textContent = "▶";
  }

  show(pass) {
    const run = this.view.run;
    this.slider.value = String(pass + 1);
    this.label.textContent = run.passes.length
      ? `pass ${pass + 1} of ${run.passes.length}: ${passHeading(run, pass)}` : "no passes";
  }
}
