// Draws the toolkit's JSON of a window, one renderer for every markup
// element, and turns what the user does into the toolkit's user actions.
// The page keeps one DOM and brings it up to date in place (morph), so a
// click, a focused edit or a typed search survive the ten updates a second
// that live values bring.
'use strict';

const Kite = (() => {
  function el(tag, className, text) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    if (text !== undefined && text !== null) node.textContent = text;
    return node;
  }

  // A grid definition: pixels, "Auto" or a share such as "100%". Pixels are
  // a minimum, so a wider content is never cut; shares of a row are left to
  // the content, as the page scrolls.
  function track(definition, isRow) {
    const text = String(definition).trim();
    const share = /^(\d+(?:\.\d+)?)%$/.exec(text);
    if (share) return isRow ? 'auto' : `minmax(0, ${share[1]}fr)`;
    const pixels = /^(\d+(?:\.\d+)?)$/.exec(text);
    if (pixels) return isRow ? `minmax(${pixels[1]}px, auto)` : `minmax(${pixels[1]}px, max-content)`;
    return 'auto';
  }

  function numberText(number) {
    if (number === undefined || number === null) return '';
    if (Number.isInteger(number)) return String(number);
    return String(Number(number.toPrecision(15)));
  }

  function cellText(cell) {
    if (cell.text !== undefined) return cell.text;
    if (cell.number !== undefined) return numberText(cell.number);
    return '';
  }

  function data(node, fields) {
    for (const [key, value] of Object.entries(fields)) node.dataset[key] = String(value);
    return node;
  }

  // What every control shares: visibility, size, place in a layout grid.
  function common(node, control) {
    if (control.name) node.dataset.name = control.name;
    node.dataset.type = control.type;
    if (control.hidden || control.width === 0 || control.height === 0) node.hidden = true;
    if (control.width > 0) node.style.width = `${control.width}px`;
    if (control.height > 0 && control.type !== 'NVDrawGrid') node.style.minHeight = `${control.height}px`;
    if (control.background) node.style.background = control.background;
    if (control.align === 'Fill' || control.align === 'Stretch') node.style.width = '100%';
    node.style.gridRow = String((control.row || 0) + 1);
    node.style.gridColumn = `${(control.column || 0) + 1} / span ${control.columnSpan || 1}`;
    return node;
  }

  function children(node, control) {
    for (const child of control.children || []) node.appendChild(render(child));
    return node;
  }

  function liveCell(td, cell) {
    td.classList.add('live');
    const kind = cell.kind || 1;
    if (kind !== 1 && typeof cell.value === 'number' && typeof cell.peak === 'number' && cell.peak !== 0) {
      // The bar against the highest peak so far, which sits at 80 %.
      const share = Math.max(0, Math.min(1, Math.abs(cell.value) / (1.25 * Math.abs(cell.peak))));
      const bar = el('div', 'bar');
      bar.style.width = `${(100 * share).toFixed(1)}%`;
      td.appendChild(bar);
      if (kind === 3) {
        const peak = el('div', 'peak');
        peak.style.left = '80%';
        td.appendChild(peak);
      }
    }
    if (kind !== 2) td.appendChild(el('span', '', cellText(cell)));
  }

  function gridCell(grid, column, row, cell) {
    const td = el('td');
    const where = { act: '', name: grid.name, row: row.row, column: column.index };
    switch (column.kind) {
      case 'EditableText': {
        const input = el('input', 'cell-edit');
        input.type = 'text';
        input.value = cellText(cell);
        input.setAttribute('aria-label', column.title);
        td.appendChild(data(input, { ...where, act: 'editCell', original: cellText(cell) }));
        break;
      }
      case 'Button':
        td.appendChild(data(el('button', 'cell-button', cellText(cell)), { ...where, act: 'pressCell' }));
        break;
      case 'CheckBox': {
        const label = el('label');
        const box = el('input');
        box.type = 'checkbox';
        // The grid keeps a box's state once a user has set it; until then
        // the box starts checked, as channels and options start switched on.
        box.checked = cell.checked !== undefined ? cell.checked : true;
        label.appendChild(data(box, { ...where, act: 'toggleCell' }));
        label.appendChild(el('span', '', ` ${cellText(cell)}`));
        td.appendChild(label);
        break;
      }
      case 'ColorPick': {
        const input = el('input');
        input.type = 'color';
        input.value = cell.color || '#000000';
        input.setAttribute('aria-label', column.title);
        td.appendChild(data(input, { ...where, act: 'pickColor' }));
        break;
      }
      case 'LiveValue':
        liveCell(td, cell);
        data(td, { ...where, act: 'selectRow' }).classList.add('selectable');
        break;
      default:
        td.textContent = cellText(cell);
        if (column.kind === 'Number') td.classList.add('number');
        if (cell.color) td.style.color = cell.color;
        data(td, { ...where, act: 'selectRow' }).classList.add('selectable');
    }
    return td;
  }

  function drawGrid(control) {
    const table = el('table', 'kite-drawgrid');
    const shown = (control.columns || []).filter((c) => c.shown && c.index < control.columnCount);
    const head = el('tr');
    for (const column of shown) {
      const th = el('th', '', column.title);
      if (column.width > 0) th.style.minWidth = `${column.width}px`;
      th.dataset.key = column.key;
      head.appendChild(th);
    }
    table.appendChild(el('thead')).appendChild(head);
    const body = table.appendChild(el('tbody'));
    for (const row of control.rows || []) {
      const tr = data(el('tr'), { row: row.row });
      if (row.selected) tr.classList.add('selected');
      shown.forEach((column, k) => tr.appendChild(gridCell(control, column, row, row.cells[k] || {})));
      body.appendChild(tr);
    }
    return table;
  }

  function tabControl(control) {
    const node = el('div', 'kite-tabs');
    const strip = node.appendChild(el('div', 'tab-strip'));
    (control.tabs || []).forEach((tab, index) => {
      const button = data(el('button', '', tab.title), { act: 'selectTab', name: control.name, index });
      button.type = 'button';
      if (index === control.selected) button.classList.add('selected');
      if (!tab.selectable) button.disabled = true;
      strip.appendChild(button);
    });
    return children(node, control);
  }

  const renderers = {
    Window(control) {
      const node = el('div', 'kite-window');
      if (control.title) node.appendChild(el('h2', 'kite-title', control.title));
      return children(node, control);
    },
    Grid(control) {
      const node = el('div', 'kite-grid');
      node.style.gridTemplateColumns = (control.columnDefinitions || []).map((d) => track(d, false)).join(' ');
      node.style.gridTemplateRows = (control.rowDefinitions || []).map((d) => track(d, true)).join(' ');
      return children(node, control);
    },
    StackPanel(control) {
      const node = el('div', 'kite-stack');
      node.style.gap = `${control.spacing || 0}px`;
      return children(node, control);
    },
    CaptionPanel(control) {
      const node = el('fieldset', 'kite-caption');
      node.appendChild(el('legend', '', control.title));
      return children(node, control);
    },
    Button(control) {
      const node = data(el('button', 'kite-button', control.label), { act: 'click', name: control.name || '' });
      node.type = 'button';
      return node;
    },
    Label(control) {
      const node = el('span', 'kite-label', control.text);
      if (control.color) node.style.color = control.color;
      if (control.bold) node.style.fontWeight = 'bold';
      return node;
    },
    SearchEdit(control) {
      const node = el('input', 'kite-search');
      node.type = 'search';
      node.placeholder = 'Search';
      node.value = control.text || '';
      return data(node, { act: 'typeSearch', name: control.name || '' });
    },
    TabControl: tabControl,
    NVDrawGrid: drawGrid,
  };

  function render(control) {
    const draw = renderers[control.type];
    const node = draw ? draw(control) : children(el('div', 'kite-unknown', `[${control.type}]`), control);
    return common(node, control);
  }

  // Brings `target` to what `fresh` shows, keeping the nodes that stay, and
  // leaving alone the value of the control the user is typing in.
  function morph(target, fresh) {
    if (target.nodeType !== fresh.nodeType || target.nodeName !== fresh.nodeName) {
      target.replaceWith(fresh);
      return;
    }
    if (target.nodeType !== Node.ELEMENT_NODE) {
      if (target.nodeValue !== fresh.nodeValue) target.nodeValue = fresh.nodeValue;
      return;
    }
    for (const attribute of [...target.attributes])
      if (!fresh.hasAttribute(attribute.name)) target.removeAttribute(attribute.name);
    for (const attribute of fresh.attributes)
      if (target.getAttribute(attribute.name) !== attribute.value) target.setAttribute(attribute.name, attribute.value);
    if (target.nodeName === 'INPUT' && document.activeElement !== target) {
      if (target.type === 'checkbox') target.checked = fresh.checked;
      else if (target.value !== fresh.value) target.value = fresh.value;
    }
    const wanted = [...fresh.childNodes];
    wanted.forEach((child, i) => {
      const present = target.childNodes[i];
      if (present) morph(present, child);
      else target.appendChild(child);
    });
    while (target.childNodes.length > wanted.length) target.lastChild.remove();
  }

  function cellOf(node) {
    return { name: node.dataset.name, row: Number(node.dataset.row), column: Number(node.dataset.column) };
  }

  // One listener per kind of event on the window's container; `send` takes
  // a toolkit action.
  function listen(container, send) {
    let searchTimer = null;
    container.addEventListener('click', (event) => {
      const node = event.target.closest('[data-act]');
      if (!node || node.disabled) return;
      const act = node.dataset.act;
      if (act === 'click') send({ action: 'click', name: node.dataset.name });
      else if (act === 'selectTab') send({ action: 'selectTab', name: node.dataset.name, index: Number(node.dataset.index) });
      else if (act === 'pressCell') send({ action: 'pressCell', ...cellOf(node) });
      else if (act === 'selectRow') {
        // A click selects its row alone; ctrl-click (cmd-click) adds or removes it.
        const row = Number(node.dataset.row);
        const table = node.closest('table');
        let rows = [row];
        if (event.ctrlKey || event.metaKey) {
          const now = [...table.querySelectorAll('tr.selected')].map((tr) => Number(tr.dataset.row));
          rows = now.includes(row) ? now.filter((r) => r !== row) : [...now, row];
        }
        send({ action: 'selectRows', name: node.dataset.name, rows });
      }
    });
    container.addEventListener('change', (event) => {
      const node = event.target;
      const act = node.dataset && node.dataset.act;
      if (act === 'toggleCell') send({ action: 'toggleCell', ...cellOf(node), checked: node.checked });
      else if (act === 'pickColor') send({ action: 'pickColor', ...cellOf(node), color: node.value.toUpperCase() });
      else if (act === 'editCell' && node.value !== node.dataset.original)
        send({ action: 'editCell', ...cellOf(node), text: node.value });
    });
    container.addEventListener('keydown', (event) => {
      const node = event.target;
      if (!node.dataset || node.dataset.act !== 'editCell') return;
      // Enter commits (the change event sends it), Escape gives up.
      if (event.key === 'Enter') node.blur();
      if (event.key === 'Escape') {
        node.value = node.dataset.original;
        node.blur();
      }
    });
    container.addEventListener('input', (event) => {
      const node = event.target;
      if (!node.dataset || node.dataset.act !== 'typeSearch') return;
      clearTimeout(searchTimer);
      searchTimer = setTimeout(() => send({ action: 'typeSearch', name: node.dataset.name, text: node.value }), 250);
    });
  }

  return { render, morph, listen, numberText };
})();
