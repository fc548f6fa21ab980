# Windows-side tests, run under Wine.
