// The host's frame around the plug-in's windows: the window tabs, the
// acquisition's buttons and figures, notifications, the live plot and the
// link to the recording. Everything the page knows comes from the host
// over one WebSocket: "state" (the open window's tree and the
// acquisition), "plot" and "ack" (an action of this page was carried out).
'use strict';

(() => {
  const $ = (id) => document.getElementById(id);
  const pending = new Set();
  let socket = null;
  let nextId = 1;
  let shownWindow = null;
  let lastNotice = 0;
  let graph = null;
  const lastValues = new Map();  // channel name -> newest mean in the plot

  function updateWaiting() {
    const waiting = pending.size > 0;
    $('waiting').hidden = !waiting;
    document.body.classList.toggle('waiting', waiting);
  }

  function notify(text) {
    const box = document.createElement('div');
    box.className = 'notice';
    box.textContent = text;
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = '×';
    close.title = 'Dismiss';
    close.addEventListener('click', () => box.remove());
    box.appendChild(close);
    const list = $('notices');
    list.appendChild(box);
    while (list.children.length > 6) list.firstChild.remove();
  }

  // Actions on the plug-in's window name the window the page shows: the
  // host refuses one meant for a window it has closed since.
  function send(action, windowAction = false) {
    if (!socket || socket.readyState !== WebSocket.OPEN) {
      notify('Not connected to the host.');
      return;
    }
    const message = { id: nextId++, ...action };
    if (windowAction) message.window = shownWindow;
    pending.add(message.id);
    updateWaiting();
    socket.send(JSON.stringify(message));
  }

  function megabytes(bytes) {
    return (bytes / 1e6).toFixed(bytes < 1e7 ? 2 : 1);
  }

  function showRun(run) {
    const running = run.state !== 'idle';
    $('run-state').textContent = run.state;
    $('elapsed').textContent = `${run.elapsed.toFixed(1)} s`;
    $('rate').textContent = Math.round(run.samplesPerSecond).toLocaleString('en');
    $('preview').disabled = running;
    $('start').disabled = run.state === 'recording';
    $('stop').disabled = !running;
    const rec = run.recording;
    $('recording-size').textContent = rec.samples === 0 ? 'empty'
      : `${rec.samples.toLocaleString('en')} samples, ${megabytes(rec.bytes)} MB` +
        (rec.dropped > 0 ? ` (the newest ${rec.capacity.toLocaleString('en')} kept)` : '');
    $('recording-size').title = `At most ${rec.capacity.toLocaleString('en')} samples ` +
      `(${megabytes(rec.capacity * 24)} MB) are kept; beyond that the oldest make room.`;
    for (const button of document.querySelectorAll('#window-tabs button')) {
      button.classList.toggle('active', button.dataset.window === shownWindow);
      button.disabled = button.dataset.window === 'settings' && running;
      button.title = button.disabled ? 'Stop the acquisition to change the devices' : '';
    }
  }

  function showWindow(window) {
    shownWindow = window.kind;
    const container = $('window');
    const fresh = document.createElement('section');
    fresh.id = 'window';
    if (window.tree) fresh.appendChild(Kite.render(window.tree));
    else {
      const empty = document.createElement('p');
      empty.className = 'empty-window';
      empty.textContent = `The plug-in did not fill the ${window.kind} window.`;
      fresh.appendChild(empty);
    }
    fresh.dataset.window = window.kind;
    Kite.morph(container, fresh);
  }

  function showLegend(channels) {
    const legend = $('legend');
    const fresh = document.createElement('ul');
    fresh.id = 'legend';
    for (const channel of channels) {
      const item = document.createElement('li');
      item.dataset.channel = channel.name;
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      swatch.style.background = channel.color;
      item.appendChild(swatch);
      item.appendChild(document.createTextNode(channel.name));
      const value = lastValues.get(channel.name);
      if (value !== undefined) {
        const figure = document.createElement('b');
        figure.textContent = ` ${Kite.numberText(Number(value.toPrecision(6)))}`;
        item.appendChild(figure);
      }
      fresh.appendChild(item);
    }
    if (channels.length === 0) fresh.appendChild(document.createTextNode('No used channels.'));
    Kite.morph(legend, fresh);
  }

  let lastState = null;
  function showState(state) {
    lastState = state;
    showWindow(state.window);
    showRun(state.run);
    showLegend(state.channels);
    for (const notice of state.notices) {
      if (notice.seq > lastNotice) notify(notice.text);
      lastNotice = Math.max(lastNotice, notice.seq);
    }
  }

  function showPlot(plot) {
    const node = $('plot');
    const rows = plot.rows;
    lastValues.clear();
    if (rows.length > 0) {
      const last = rows[rows.length - 1];
      plot.labels.slice(1).forEach((label, k) => {
        for (let r = rows.length - 1; r >= 0; r--) {
          if (rows[r][k + 1]) {
            lastValues.set(label, rows[r][k + 1][1]);
            break;
          }
        }
      });
      node.dataset.lastTime = String(last[0]);
    }
    node.dataset.rows = String(rows.length);
    if (lastState) showLegend(lastState.channels);
    $('plot-hint').hidden = rows.length > 0;
    if (rows.length === 0 || plot.labels.length < 2) return;
    const options = {
      file: rows, labels: plot.labels, customBars: true, legend: 'follow', xlabel: 'host time (s)',
      colors: plot.colors.length === plot.labels.length - 1 ? plot.colors : undefined,
      connectSeparatedPoints: false, digitsAfterDecimal: 4,
    };
    if (graph) graph.updateOptions(options);
    else graph = new Dygraph(node, rows, options);
  }

  function connect() {
    socket = new WebSocket(`ws://${location.host}/ws`);
    socket.addEventListener('open', () => { $('offline').hidden = true; });
    socket.addEventListener('message', (event) => {
      const message = JSON.parse(event.data);
      if (message.type === 'state') showState(message);
      else if (message.type === 'plot') showPlot(message);
      else if (message.type === 'ack') {
        pending.delete(message.id);
        updateWaiting();
        if (message.error) notify(message.error);
      }
    });
    socket.addEventListener('close', () => {
      pending.clear();
      updateWaiting();
      $('offline').hidden = false;
      setTimeout(connect, 1000);
    });
  }

  function start() {
    Kite.listen($('window'), (action) => send(action, true));
    $('preview').addEventListener('click', () => send({ action: 'preview' }));
    $('start').addEventListener('click', () => send({ action: 'start' }));
    $('stop').addEventListener('click', () => send({ action: 'stop' }));
    for (const button of document.querySelectorAll('#window-tabs button'))
      button.addEventListener('click', () => send({ action: 'open', window: button.dataset.window }));
    connect();
  }

  document.addEventListener('DOMContentLoaded', start);
})();
