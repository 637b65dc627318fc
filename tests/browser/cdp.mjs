// A headless Chromium driven over the DevTools protocol on a pipe
// (--remote-debugging-pipe: requests on fd 3, answers on fd 4, each message
// ending in a NUL byte), so the tests need nothing from npm.
import { spawn } from "node:child_process";

export class Browser {
  static async launch(executable, timeoutMs = 30000) {
    const args = ["--headless", "--remote-debugging-pipe", "--no-sandbox", "--use-angle=swiftshader",
      "--enable-unsafe-swiftshader", "--window-size=1400,900", "--hide-scrollbars", "--mute-audio",
      "--no-first-run", "about:blank"];
    const child = spawn(executable, args, { stdio: ["ignore", "ignore", "pipe", "pipe", "pipe"] });
    const browser = new Browser(child);
    const started = await Promise.race([
      browser.send("Browser.getVersion").then((v) => v.product),
      new Promise((_, reject) => child.on("error", reject)),
      new Promise((_, reject) => child.on("exit", (code) => reject(new Error(`exited with ${code}`)))),
      new Promise((_, reject) => setTimeout(() => reject(new Error("no answer")), timeoutMs)),
    ]);
    return { browser, version: started };
  }

  constructor(child) {
    this.child = child;
    this.nextId = 1;
    this.waiting = new Map();
    this.listeners = [];
    this.buffer = "";
    this.stderr = "";
    child.stderr.on("data", (d) => (this.stderr += d));
    child.stdio[4].on("data", (chunk) => this.receive(chunk.toString()));
  }

  receive(text) {
    const parts = (this.buffer + text).split("\0");
    this.buffer = parts.pop();
    for (const part of parts) {
      const message = JSON.parse(part);
      const waiter = this.waiting.get(message.id);
      if (waiter) {
        this.waiting.delete(message.id);
        if (message.error) waiter.reject(new Error(`${waiter.method}: ${message.error.message}`));
        else waiter.resolve(message.result);
      } else if (message.method) this.listeners.forEach((listen) => listen(message));
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    this.child.stdio[3].write(JSON.stringify({ id, method, params, sessionId }) + "\0");
    return new Promise((resolve, reject) => this.waiting.set(id, { resolve, reject, method }));
  }

  on(listen) {
    this.listeners.push(listen);
  }

  // A new tab with the page's console errors and uncaught exceptions collected in errors.
  async openPage(url) {
    const { targetId } = await this.send("Target.createTarget", { url: "about:blank" });
    const { sessionId } = await this.send("Target.attachToTarget", { targetId, flatten: true });
    const page = { sessionId, errors: [], send: (m, p) => this.send(m, p, sessionId) };
    this.on((message) => {
      if (message.sessionId !== sessionId) return;
      if (message.method === "Runtime.exceptionThrown")
        page.errors.push(message.params.exceptionDetails.exception?.description ?? message.params.exceptionDetails.text);
      if (message.method === "Runtime.consoleAPICalled" && message.params.type === "error")
        page.errors.push(message.params.args.map((a) => a.value ?? a.description).join(" "));
      if (message.method === "Log.entryAdded" && message.params.entry.level === "error")
        page.errors.push(message.params.entry.text);
    });
    await Promise.all([page.send("Runtime.enable"), page.send("Log.enable"), page.send("Page.enable")]);
    await page.send("Page.navigate", { url });
    return page;
  }

  close() {
    this.child.kill();
  }
}

// The value of a page expression (awaited if it is a promise).
export async function evaluate(page, expression) {
  const { result, exceptionDetails } = await page.send("Runtime.evaluate",
    { expression, awaitPromise: true, returnByValue: true });
  if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception?.description ?? exceptionDetails.text}`);
  return result.value;
}

export async function waitFor(page, expression, timeoutMs) {
  const until = Date.now() + timeoutMs;
  while (Date.now() < until) {
    if (await evaluate(page, expression)) return true;
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
  return false;
}
