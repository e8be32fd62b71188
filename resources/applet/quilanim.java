import java.applet.Applet;
import java.applet.AudioClip;
import java.awt.Color;
import java.awt.Dimension;
import java.awt.Font;
import java.awt.Graphics;
import java.awt.Image;
import java.awt.MediaTracker;
import java.awt.Rectangle;
import java.awt.event.MouseEvent;
import java.awt.event.MouseListener;
import java.net.MalformedURLException;
import java.net.URL;
import java.util.ArrayList;

/**
 * Slideshow applet: shows the pictures of IMAGELIST one after the other, optionally
 * moving across the display area (bouncing off its edges or wrapping around), with a
 * caption per picture, a background colour or picture and a looping soundtrack.
 * A mouse click pauses and resumes the show.
 *
 * Drawing is double-buffered. The animation runs on a thread of its own that start()
 * creates and stop() ends; every piece of state the thread and the painting share is
 * guarded by lock.
 */
public class quilanim extends Applet implements Runnable, MouseListener {
    private static final long serialVersionUID = 1L;

    static final String NO_IMAGE_LIST = "No image list. Essential!";
    static final String BAD_MOVE = "Invalid movement param";
    static final String BAD_BG = "Background messed up, using default";

    static final String DEFAULT_FONT = "Helvetica";
    static final int DEFAULT_FONT_SIZE = 12;
    static final int DEFAULT_PAUSE = 100;
    static final Color DEFAULT_BG = new Color(192, 192, 192);
    static final Color FALLBACK_BG = new Color(170, 170, 170);
    /** Shortest wait between two steps, so a pause of 0 does not spin the processor. */
    static final int MIN_STEP_MILLIS = 10;
    /** How long stop() waits for the animation thread to end. */
    static final int STOP_WAIT_MILLIS = 2000;

    // Settings, read once by init().
    private URL[] imageUrls = new URL[0];
    private String[] captions;          // one per entry of imageUrls, or null
    private Font captionFont;           // null when there is no caption list
    private int pause = DEFAULT_PAUSE;
    private int endDelay = 0;
    private int repeat = -1;            // number of plays; -1 plays without end
    private boolean bounce = true;
    private int moveX = 0;
    private int moveY = 0;
    private Color background = DEFAULT_BG;
    private URL backgroundUrl;
    private URL soundtrackUrl;
    private String problem;             // text drawn instead of the show

    private final Object lock = new Object();

    // Media and layout, set by loadMedia(); guarded by lock.
    private transient Image[] frames;
    private String[] frameCaptions;
    private transient Image backgroundImage;
    private transient AudioClip soundtrack;
    private boolean soundPlaying;
    private boolean loaded;
    private int fitWidth;
    private int fitHeight;
    private int spriteWidth;
    private int spriteHeight;

    // Animation state; guarded by lock.
    private transient Thread animator;
    private int frame;
    private int plays;
    private boolean finished;
    private boolean paused;
    private long x;
    private long y;
    private long velocityX;
    private long velocityY;

    // Painting, only touched by the painting thread.
    private transient Image buffer;
    private final WrappingLabel label = new WrappingLabel();

    public String getAppletInfo() {
        return "quilanim: picture slideshow with captions, movement and soundtrack";
    }

    public void init() {
        addMouseListener(this);
        readParameters();
    }

    public void start() {
        synchronized (lock) {
            if (imageUrls.length == 0 || animator != null)
                return;
            if (finished && loaded)
                restartShow();
            paused = false;
            animator = new Thread(this, "quilanim");
            animator.setDaemon(true);
            animator.start();
        }
    }

    public void stop() {
        Thread running;
        synchronized (lock) {
            running = animator;
            animator = null;
            lock.notifyAll();
        }
        if (running != null && running != Thread.currentThread()) {
            running.interrupt();
            try {
                running.join(STOP_WAIT_MILLIS);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
        }
        stopSound();
    }

    public void destroy() {
        stop();
        removeMouseListener(this);
        synchronized (lock) {
            soundtrack = null;
        }
        if (buffer != null) {
            buffer.flush();
            buffer = null;
        }
    }

    // ---- parameters -------------------------------------------------------------

    /**
     * A parameter's value. Browsers match names without regard to case; the lower- and
     * upper-case spellings are asked as well, for hosts that do not.
     */
    private String param(String name) {
        String value = getParameter(name);
        if (value == null)
            value = getParameter(name.toLowerCase());
        if (value == null)
            value = getParameter(name.toUpperCase());
        return value;
    }

    private int intParam(String name, int fallback) {
        Integer value = parseInteger(param(name));
        return value == null ? fallback : value.intValue();
    }

    static Integer parseInteger(String text) {
        if (text == null)
            return null;
        try {
            return Integer.valueOf(Integer.parseInt(text.trim()));
        } catch (NumberFormatException e) {
            return null;
        }
    }

    private void readParameters() {
        ArrayList<URL> urls = new ArrayList<URL>();
        ArrayList<String> captionsKept = new ArrayList<String>();
        String list = param("IMAGELIST");
        String captionList = param("CAPTIONLIST");
        String[] allCaptions = captionList == null ? null : captionList.split("\\|", -1);
        if (list != null) {
            String[] entries = list.split(",", -1);
            for (int i = 0; i < entries.length; i++) {
                URL url = resolve(entries[i]);
                if (url == null)
                    continue;
                urls.add(url);
                captionsKept.add(allCaptions != null && i < allCaptions.length ? allCaptions[i] : "");
            }
        }
        imageUrls = urls.toArray(new URL[urls.size()]);
        if (imageUrls.length == 0) {
            problem = NO_IMAGE_LIST;
            report(NO_IMAGE_LIST);
            return;
        }

        if (allCaptions != null) {
            captions = captionsKept.toArray(new String[captionsKept.size()]);
            String name = param("FontName");
            if (name == null || name.trim().length() == 0)
                name = DEFAULT_FONT;
            int style = intParam("FontStyle", 0);
            int fontStyle = style == 1 ? Font.BOLD
                    : style == 2 ? Font.ITALIC
                    : style == 3 ? Font.BOLD | Font.ITALIC
                    : Font.PLAIN;
            int size = intParam("FontSize", DEFAULT_FONT_SIZE);
            if (size <= 0)
                size = DEFAULT_FONT_SIZE;
            captionFont = new Font(name.trim(), fontStyle, size);
        }

        pause = Math.max(0, intParam("PAUSE", DEFAULT_PAUSE));
        endDelay = Math.max(0, intParam("ENDDELAY", 0));
        Integer times = parseInteger(param("REPEAT"));
        // A count below one still shows the sequence once.
        repeat = times == null ? -1 : Math.max(1, times.intValue());

        String edge = param("BOUNCE");
        bounce = edge == null || edge.trim().equalsIgnoreCase("yes") || edge.trim().equalsIgnoreCase("true");

        String move = param("MOVE");
        if (move != null) {
            int[] steps = parseMove(move);
            if (steps == null) {
                report(BAD_MOVE);
            } else {
                moveX = steps[0];
                moveY = steps[1];
            }
        }

        String colour = param("BG");
        if (colour != null) {
            Color parsed = parseColour(colour);
            if (parsed == null) {
                report(BAD_BG);
                background = FALLBACK_BG;
            } else {
                background = parsed;
            }
        }

        backgroundUrl = resolve(param("BACKGROUND"));
        soundtrackUrl = resolve(param("SOUNDTRACK"));
    }

    /** A reference resolved against the page; null for an empty or unusable one. */
    private URL resolve(String reference) {
        if (reference == null || reference.trim().length() == 0)
            return null;
        try {
            return new URL(getDocumentBase(), reference.trim());
        } catch (MalformedURLException e) {
            System.err.println("quilanim: cannot use " + reference + ": " + e.getMessage());
            return null;
        }
    }

    private void report(String message) {
        System.err.println("quilanim: " + message);
        showStatus(message);
    }

    /** "dx,dy" as two integers; null when the text is not of that form. */
    static int[] parseMove(String text) {
        String[] parts = text.split(",", -1);
        if (parts.length != 2)
            return null;
        Integer dx = parseInteger(parts[0]);
        Integer dy = parseInteger(parts[1]);
        if (dx == null || dy == null)
            return null;
        return new int[] { dx.intValue(), dy.intValue() };
    }

    /** "#RRGGBB" or "r,g,b" (each 0 to 255); null when the text is neither. */
    static Color parseColour(String text) {
        String value = text.trim();
        if (value.startsWith("#")) {
            String hex = value.substring(1);
            if (hex.length() != 6)
                return null;
            for (int i = 0; i < hex.length(); i++) {
                if (Character.digit(hex.charAt(i), 16) < 0)
                    return null;
            }
            return new Color(Integer.parseInt(hex, 16));
        }
        String[] parts = value.split(",", -1);
        if (parts.length != 3)
            return null;
        int[] rgb = new int[3];
        for (int i = 0; i < 3; i++) {
            String part = parts[i].trim();
            if (part.length() == 0 || part.length() > 3)
                return null;
            for (int j = 0; j < part.length(); j++) {
                if (!Character.isDigit(part.charAt(j)))
                    return null;
            }
            rgb[i] = Integer.parseInt(part);
            if (rgb[i] > 255)
                return null;
        }
        return new Color(rgb[0], rgb[1], rgb[2]);
    }

    // ---- media and layout ---------------------------------------------------------

    /**
     * Loads the pictures and the background picture and works out the display area:
     * a width or height of 0 becomes the larger of the background picture's and the
     * largest frame's. Pictures that cannot be loaded are left out of the show.
     * False when interrupted or when no picture could be loaded.
     */
    boolean loadMedia() {
        synchronized (lock) {
            if (loaded)
                return frames.length > 0;
        }
        MediaTracker tracker = new MediaTracker(this);
        Image[] images = new Image[imageUrls.length];
        for (int i = 0; i < images.length; i++) {
            images[i] = getImage(imageUrls[i]);
            tracker.addImage(images[i], i);
        }
        Image back = null;
        if (backgroundUrl != null) {
            back = getImage(backgroundUrl);
            tracker.addImage(back, images.length);
        }
        try {
            tracker.waitForAll();
        } catch (InterruptedException e) {
            return false;
        }

        ArrayList<Image> kept = new ArrayList<Image>();
        ArrayList<String> keptCaptions = new ArrayList<String>();
        int widest = 0;
        int tallest = 0;
        for (int i = 0; i < images.length; i++) {
            if (tracker.isErrorID(i) || images[i].getWidth(this) <= 0 || images[i].getHeight(this) <= 0) {
                System.err.println("quilanim: cannot load " + imageUrls[i]);
                continue;
            }
            kept.add(images[i]);
            keptCaptions.add(captions == null ? "" : captions[i]);
            widest = Math.max(widest, images[i].getWidth(this));
            tallest = Math.max(tallest, images[i].getHeight(this));
        }
        int backWidth = 0;
        int backHeight = 0;
        if (back != null) {
            if (tracker.isErrorID(images.length) || back.getWidth(this) <= 0) {
                System.err.println("quilanim: cannot load " + backgroundUrl);
                back = null;
            } else {
                backWidth = back.getWidth(this);
                backHeight = back.getHeight(this);
            }
        }

        Dimension size = getSize();
        int width = size.width > 0 ? size.width : Math.max(backWidth, widest);
        int height = size.height > 0 ? size.height : Math.max(backHeight, tallest);
        if (width != size.width || height != size.height)
            resize(width, height);

        synchronized (lock) {
            frames = kept.toArray(new Image[kept.size()]);
            frameCaptions = keptCaptions.toArray(new String[keptCaptions.size()]);
            backgroundImage = back;
            fitWidth = width;
            fitHeight = height;
            spriteWidth = widest;
            spriteHeight = tallest;
            loaded = true;
            restartShow();
            return frames.length > 0;
        }
    }

    /** Back to the first frame at the starting position. Caller holds lock. */
    private void restartShow() {
        frame = 0;
        plays = 0;
        finished = false;
        velocityX = moveX;
        velocityY = moveY;
        // A picture moving to the left or up starts at the far edge.
        x = moveX < 0 ? areaWidth() - spriteWidth : 0;
        y = moveY < 0 ? areaHeight() - spriteHeight : 0;
        frameEntered();
    }

    private int areaWidth() {
        int width = getSize().width;
        return width > 0 ? width : fitWidth;
    }

    private int areaHeight() {
        int height = getSize().height;
        return height > 0 ? height : fitHeight;
    }

    /** Counts a play each time the last frame comes up. Caller holds lock. */
    private void frameEntered() {
        if (frames.length > 0 && frame == frames.length - 1) {
            plays++;
            if (repeat > 0 && plays >= repeat)
                finished = true;
        }
    }

    /** One step of the show: the next frame, moved by one step of MOVE. */
    void advance() {
        synchronized (lock) {
            if (!loaded || frames.length == 0 || finished)
                return;
            frame = (frame + 1) % frames.length;
            long[] nextX = step(x, velocityX, areaWidth(), spriteWidth, bounce);
            long[] nextY = step(y, velocityY, areaHeight(), spriteHeight, bounce);
            x = nextX[0];
            velocityX = nextX[1];
            y = nextY[0];
            velocityY = nextY[1];
            frameEntered();
        }
    }

    /**
     * Moves a picture of the given size by velocity along an area of the given length.
     * Bouncing keeps the picture inside the area, reflecting off both ends; wrapping lets
     * it leave at one end and come back in at the other. Returns position and velocity.
     */
    static long[] step(long position, long velocity, int length, int size, boolean bounce) {
        if (velocity == 0)
            return new long[] { position, velocity };
        if (bounce) {
            long lo = Math.min(0, length - size);
            long range = Math.abs((long) length - size);
            if (range == 0)
                return new long[] { lo, velocity };
            long speed = Math.abs(velocity);
            long period = 2 * range;
            // Unfold the reflections: on the unfolded line the picture always moves forward.
            long offset = Math.min(Math.max(position - lo, 0), range);
            long unfolded = velocity > 0 ? offset : period - offset;
            long folded = Math.floorMod(unfolded + speed, period);
            if (folded <= range)
                return new long[] { lo + folded, speed };
            return new long[] { lo + period - folded, -speed };
        }
        long period = (long) length + size;
        if (period <= 0)
            return new long[] { position + velocity, velocity };
        return new long[] { Math.floorMod(position + velocity + size, period) - size, velocity };
    }

    // ---- the animation thread -------------------------------------------------------

    public void run() {
        Thread me = Thread.currentThread();
        if (!loadMedia())
            return;
        startSound(me);
        repaint();
        int shown;
        synchronized (lock) {
            if (animator != me)
                return;
            shown = frame;
        }
        frameShown(shown);
        while (true) {
            long wait;
            synchronized (lock) {
                if (animator != me || finished)
                    break;
                wait = Math.max(pause, MIN_STEP_MILLIS);
                if (frame == frames.length - 1)
                    wait += endDelay;
            }
            if (!waitRunning(wait, me))
                return;
            synchronized (lock) {
                if (animator != me)
                    return;
                advance();
                shown = frame;
            }
            repaint();
            frameShown(shown);
        }
        // The show is over; a start() from here on begins it again.
        synchronized (lock) {
            if (animator == me) {
                animator = null;
                stopSound();
            }
        }
    }

    /**
     * Waits the given time of running show; time spent paused does not count.
     * False when the thread is asked to end.
     */
    private boolean waitRunning(long millis, Thread me) {
        synchronized (lock) {
            long remaining = millis * 1000000L;
            long last = System.nanoTime();
            try {
                while (animator == me) {
                    if (paused) {
                        lock.wait();
                        last = System.nanoTime();
                        continue;
                    }
                    if (remaining <= 0)
                        return true;
                    lock.wait(Math.max(1, (remaining + 999999L) / 1000000L));
                    long now = System.nanoTime();
                    remaining -= now - last;
                    last = now;
                }
            } catch (InterruptedException e) {
                return false;
            }
            return false;
        }
    }

    /** Called on the animation thread each time a frame has been made current. */
    void frameShown(int index) {
    }

    private void startSound(Thread me) {
        if (soundtrackUrl == null)
            return;
        AudioClip clip;
        synchronized (lock) {
            clip = soundtrack;
        }
        if (clip == null) {
            clip = getAudioClip(soundtrackUrl);
            if (clip == null)
                return;
        }
        synchronized (lock) {
            soundtrack = clip;
            if (animator == me && !paused && !finished && !soundPlaying) {
                clip.loop();
                soundPlaying = true;
            }
        }
    }

    private void stopSound() {
        synchronized (lock) {
            if (soundtrack != null && soundPlaying)
                soundtrack.stop();
            soundPlaying = false;
        }
    }

    // ---- mouse: a click pauses and resumes ----------------------------------------

    public void mousePressed(MouseEvent e) {
        synchronized (lock) {
            if (animator == null || finished)
                return;
            paused = !paused;
            if (soundtrack != null) {
                if (paused && soundPlaying) {
                    soundtrack.stop();
                    soundPlaying = false;
                } else if (!paused && !soundPlaying) {
                    soundtrack.loop();
                    soundPlaying = true;
                }
            }
            lock.notifyAll();
        }
    }

    public void mouseClicked(MouseEvent e) { }
    public void mouseReleased(MouseEvent e) { }
    public void mouseEntered(MouseEvent e) { }
    public void mouseExited(MouseEvent e) { }

    // ---- painting -------------------------------------------------------------------

    public void update(Graphics g) {
        paint(g);
    }

    public void paint(Graphics g) {
        Dimension size = getSize();
        if (size.width <= 0 || size.height <= 0)
            return;
        if (buffer == null || buffer.getWidth(null) != size.width || buffer.getHeight(null) != size.height) {
            if (buffer != null)
                buffer.flush();
            buffer = createImage(size.width, size.height);
        }
        if (buffer == null) {
            render(g, size.width, size.height);
            return;
        }
        Graphics offscreen = buffer.getGraphics();
        try {
            render(offscreen, size.width, size.height);
        } finally {
            offscreen.dispose();
        }
        g.drawImage(buffer, 0, 0, this);
    }

    /** Draws the whole display area, as it stands now, into g. */
    void render(Graphics g, int width, int height) {
        Image picture = null;
        Image back;
        String caption = null;
        int left;
        int top;
        synchronized (lock) {
            back = backgroundImage;
            if (loaded && frames.length > 0) {
                picture = frames[frame];
                caption = frameCaptions[frame];
            }
            left = (int) x;
            top = (int) y;
        }
        g.setColor(background);
        g.fillRect(0, 0, width, height);
        if (problem != null) {
            label.setFont(new Font(DEFAULT_FONT, Font.PLAIN, DEFAULT_FONT_SIZE));
            label.setForeground(textColour());
            label.setText(problem);
            label.draw(g, 0, 0, width, height);
            return;
        }
        if (back != null) {
            int tileWidth = back.getWidth(this);
            int tileHeight = back.getHeight(this);
            if (tileWidth > 0 && tileHeight > 0) {
                for (int ty = 0; ty < height; ty += tileHeight) {
                    for (int tx = 0; tx < width; tx += tileWidth)
                        g.drawImage(back, tx, ty, this);
                }
            }
        }
        if (picture == null)
            return;
        g.drawImage(picture, left, top, this);
        if (caption != null && caption.trim().length() > 0 && captionFont != null) {
            Rectangle room = captionRoom(left, top, picture.getWidth(this), picture.getHeight(this), width, height);
            label.setFont(captionFont);
            label.setForeground(textColour());
            label.setText(caption);
            label.draw(g, room.x, room.y, room.width, room.height);
        }
    }

    /**
     * The room for a caption beside a picture at left, top: below it or to its right,
     * whichever is the larger area (below when they are equal).
     */
    static Rectangle captionRoom(int left, int top, int pictureWidth, int pictureHeight, int width, int height) {
        int belowTop = Math.max(0, top + pictureHeight);
        int rightLeft = Math.max(0, left + pictureWidth);
        int belowLeft = Math.max(0, left);
        int rightTop = Math.max(0, top);
        Rectangle below = new Rectangle(belowLeft, belowTop,
                Math.max(0, width - belowLeft), Math.max(0, height - belowTop));
        Rectangle right = new Rectangle(rightLeft, rightTop,
                Math.max(0, width - rightLeft), Math.max(0, height - rightTop));
        long belowArea = (long) below.width * below.height;
        long rightArea = (long) right.width * right.height;
        return rightArea > belowArea ? right : below;
    }

    /** Black on light backgrounds, white on dark ones. */
    private Color textColour() {
        int brightness = (background.getRed() * 299 + background.getGreen() * 587 + background.getBlue() * 114) / 1000;
        return brightness < 128 ? Color.white : Color.black;
    }

    // ---- the show's state, read-only, within the package ---------------------------

    Thread animatorThread() { synchronized (lock) { return animator; } }
    int currentFrame() { synchronized (lock) { return frame; } }
    int frameCount() { synchronized (lock) { return loaded ? frames.length : 0; } }
    int plays() { synchronized (lock) { return plays; } }
    boolean isFinished() { synchronized (lock) { return finished; } }
    boolean isPaused() { synchronized (lock) { return paused; } }
    long pictureX() { synchronized (lock) { return x; } }
    long pictureY() { synchronized (lock) { return y; } }
    boolean isSoundPlaying() { synchronized (lock) { return soundPlaying; } }
    URL[] imageUrls() { return imageUrls.clone(); }
    String[] captions() { return captions == null ? null : captions.clone(); }
    Font captionFont() { return captionFont; }
    int pauseMillis() { return pause; }
    int endDelayMillis() { return endDelay; }
    int repeatCount() { return repeat; }
    boolean bounces() { return bounce; }
    int moveX() { return moveX; }
    int moveY() { return moveY; }
    Color backgroundColour() { return background; }
    URL backgroundUrl() { return backgroundUrl; }
    URL soundtrackUrl() { return soundtrackUrl; }
    String problem() { return problem; }
}
