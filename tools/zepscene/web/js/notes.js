// The script's expect lines and warnings in order, each with the pass it
// came after; a click goes to that pass.
function noteWhen(note) {
  return note.passes === 0 ? "before pass 1" : `after pass ${note.passes}`;
}

function listNotes(view, listElement) {
  const items = view.run.notes.map((note) => {
    const item = document.createElement("li");
    item.className = note.kind;
    item.textContent = `${noteWhen(note)}: ${note.text}`;
    item.addEventListener("click", () => view.setPass(Math.max(0, note.passes - 1)));
    listElement.append(item);
    return item;
  });
  if (!items.length) listElement.innerHTML = "<li>none</li>";
  return (pass) => items.forEach((item, i) =>
    item.classList.toggle("current", Math.max(0, view.run.notes[i].passes - 1) === pass));
}
