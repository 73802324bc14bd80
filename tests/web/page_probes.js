// Put into the page before its own scripts run, by the web test and the web bench: counts the
// frames the page draws and hears what it plays, without touching the game.
//
// tolvarProbes.frames   frames drawn so far: a frame is the WebGL clearing and drawing done
//                       between two returns to the browser (the game yields once a frame)
// tolvarProbes.firstFrameAt   performance.now() when the first frame was drawn, or null
// tolvarProbes.firstFrame   the first frame's pixels, as pixels(0, 0, 1024, 768, 4) gives them
// tolvarProbes.loudness()    the peak of the last 2048 samples sent to the speakers (0..1)
// tolvarProbes.pixels(x, y, width, height, step)   a rectangle of the last frame drawn, in
//                            the 1024x768 drawing space from its top-left, every step-th pixel
//                            of every step-th row: [columns, rows, base64 of RGBA rows, top row
//                            first]; only where self.tolvarKeepPixels was set before the page
//                            loaded, which keeps each frame's pixels after it is shown
(() => {
  const probes = { frames: 0, firstFrameAt: null, firstFrame: null, taps: [], gl: null };
  let inFrame = false;
  const countFrame = () => {
    if (inFrame) {
      return;
    }
    inFrame = true;
    probes.frames += 1;
    if (probes.firstFrameAt === null) {
      probes.firstFrameAt = performance.now();
    }
    setTimeout(() => {
      inFrame = false;
      if (probes.frames === 1 && probes.gl) {
        probes.firstFrame = probes.pixels(0, 0, 1024, 768, 4);
      }
    }, 0);
  };
  for (const context of [self.WebGLRenderingContext, self.WebGL2RenderingContext]) {
    if (!context) {
      continue;
    }
    for (const name of ["clear", "drawArrays", "drawElements"]) {
      const draw = context.prototype[name];
      context.prototype[name] = function (...args) {
        countFrame();
        return draw.apply(this, args);
      };
    }
  }

  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (kind, attributes) {
    const keep = self.tolvarKeepPixels && kind.includes("webgl");
    const context = getContext.call(
      this, kind, keep ? { ...attributes, preserveDrawingBuffer: true } : attributes);
    if (keep && context && this.isConnected) {
      probes.gl = context; // the game's, not a page's test for WebGL on a canvas of its own
    }
    return context;
  };
  probes.pixels = (x, y, width, height, step) => {
    const gl = probes.gl;
    const scale = gl.drawingBufferWidth / 1024;
    const readWidth = Math.max(1, Math.round(width * scale));
    const readHeight = Math.max(1, Math.round(height * scale));
    const bottom = gl.drawingBufferHeight - Math.round(y * scale) - readHeight;
    const read = new Uint8Array(readWidth * readHeight * 4);
    gl.readPixels(Math.round(x * scale), bottom, readWidth, readHeight, gl.RGBA,
                  gl.UNSIGNED_BYTE, read);
    const sampledWidth = Math.ceil(width / step);
    const sampledHeight = Math.ceil(height / step);
    const sampled = new Uint8Array(sampledWidth * sampledHeight * 4);
    for (let row = 0; row < sampledHeight; row += 1) {
      const from = readHeight - 1 - Math.min(readHeight - 1, Math.floor(row * step * scale));
      for (let column = 0; column < sampledWidth; column += 1) {
        const at = (from * readWidth + Math.floor(column * step * scale)) * 4;
        sampled.set(read.subarray(at, at + 4), (row * sampledWidth + column) * 4);
      }
    }
    let text = "";
    for (let start = 0; start < sampled.length; start += 0x8000) {
      text += String.fromCharCode.apply(null, sampled.subarray(start, start + 0x8000));
    }
    return [sampledWidth, sampledHeight, btoa(text)];
  };

  // Whatever is connected to the speakers is also connected to an analyser.
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      const tap = this.context.createAnalyser();
      tap.fftSize = 2048;
      connect.call(this, tap);
      probes.taps.push(tap);
    }
    return connect.call(this, target, ...rest);
  };
  const samples = new Float32Array(2048);
  probes.loudness = () => {
    let peak = 0;
    for (const tap of probes.taps) {
      tap.getFloatTimeDomainData(samples);
      for (const sample of samples) {
        peak = Math.max(peak, Math.abs(sample));
      }
    }
    return peak;
  };
  self.tolvarProbes = probes;
})();
